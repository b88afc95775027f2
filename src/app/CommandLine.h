#pragma once

#include <filesystem>
#include <optional>

class QApplication;

namespace tarwick {

// --help and --version answered on the terminal before any window (or display) exists; returns
// only when neither was asked for.
void answerHelpOrVersion(int argc, char* argv[]);

// Chooses the working folder (--workdir, a portable start folder, or the per-user folder) and
// makes it the current folder, where Settings.ini, results.txt, stdout.log, vanitygen/ and
// Data/ live. Returns it; nothing, after telling the user why, when there is none to work in.
std::optional<std::filesystem::path> enterWorkingFolder(const QApplication& app);

} // namespace tarwick
