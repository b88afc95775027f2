#pragma once

#include <filesystem>
#include <string>

namespace tarwick {

// What decides where Tarwick keeps Settings.ini, results.txt, stdout.log, vanitygen/ and Data/.
struct WorkingFolderInputs {
    std::filesystem::path requested;           // --workdir; empty when not given
    std::filesystem::path current;             // the folder the program was started in
    std::string dataHome;                      // $XDG_DATA_HOME, empty when unset
    std::string home;                          // $HOME
    std::filesystem::path installedGenerators; // libexec/tarwick beside the installed program
};

struct WorkingFolder {
    std::filesystem::path path; // empty when the folder could not be prepared
    std::string error;          // why, for the user
};

// The requested folder, else the current one when it holds vanitygen/ (a portable folder),
// else the per-user data folder. A requested or per-user folder is created user-only when
// missing and gets Data/ and links to the installed generators it lacks; nothing already there
// is replaced, and a portable folder is used as it is.
WorkingFolder chooseWorkingFolder(const WorkingFolderInputs& inputs);

} // namespace tarwick
