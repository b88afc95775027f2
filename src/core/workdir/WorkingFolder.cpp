#include "core/workdir/WorkingFolder.h"

#include <array>
#include <string_view>
#include <system_error>

namespace tarwick {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 3> kGeneratorFiles = {"vanitygen64.exe", "oclvanitygen.exe",
                                                             "oclvanityminer64.exe"};

// The XDG base-directory rule: a relative $XDG_DATA_HOME is ignored.
fs::path perUserFolder(const WorkingFolderInputs& inputs) {
    if (!inputs.dataHome.empty() && fs::path(inputs.dataHome).is_absolute()) {
        return fs::path(inputs.dataHome) / "Tarwick";
    }
    if (inputs.home.empty()) {
        return {};
    }
    return fs::path(inputs.home) / ".local" / "share" / "Tarwick";
}

// Private keys are kept here: a folder we create is readable by its owner only.
void createUserOnly(const fs::path& folder, std::error_code& error) {
    if (fs::exists(folder, error) || error) {
        return;
    }
    fs::create_directories(folder.parent_path(), error);
    if (!error && fs::create_directory(folder, error)) {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
    }
}

// A link per installed generator the folder lacks; anything the user put there (a file, a
// link, even a broken one) stays.
void linkInstalledGenerators(const fs::path& folder, const fs::path& installed,
                             std::error_code& error) {
    for (const std::string_view name : kGeneratorFiles) {
        const fs::path target = installed / name;
        const fs::path link = folder / "vanitygen" / name;
        std::error_code absent;
        if (!fs::exists(target, absent) ||
            fs::symlink_status(link, absent).type() != fs::file_type::not_found) {
            continue;
        }
        fs::create_symlink(target, link, error);
        if (error) {
            return;
        }
    }
}

WorkingFolder prepared(const fs::path& folder, const fs::path& installed) {
    std::error_code error;
    createUserOnly(folder, error);
    for (const char* sub : {"Data", "vanitygen"}) {
        if (!error) {
            fs::create_directory(folder / sub, error);
        }
    }
    if (!error && !installed.empty()) {
        linkInstalledGenerators(folder, installed, error);
    }
    if (error) {
        return {{},
                "Cannot prepare the working folder " + folder.string() + ": " + error.message()};
    }
    return {folder, {}};
}

} // namespace

WorkingFolder chooseWorkingFolder(const WorkingFolderInputs& inputs) {
    if (!inputs.requested.empty()) {
        return prepared(inputs.current / inputs.requested, inputs.installedGenerators);
    }
    std::error_code ignored;
    if (fs::is_directory(inputs.current / "vanitygen", ignored)) {
        return {inputs.current, {}};
    }
    const fs::path perUser = perUserFolder(inputs);
    if (perUser.empty()) {
        return {{}, "No working folder: neither XDG_DATA_HOME nor HOME is set."};
    }
    return prepared(perUser, inputs.installedGenerators);
}

} // namespace tarwick
