#include "core/settings/SettingsFile.h"

#include "core/files/FileBytes.h"
#include "core/found/PrivateFile.h"
#include "core/settings/ProfileFile.h"
#include "core/settings/SettingsMapping.h"

#include <optional>
#include <string>
#include <system_error>

namespace tarwick {
namespace {

struct FileBytes {
    bool readable = true; // false: it exists but could not be read
    std::string bytes;    // empty when missing
};

FileBytes readIfPresent(const std::filesystem::path& file) {
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    if (error) {
        return {false, {}};
    }
    if (!exists) {
        return {true, {}};
    }
    // Anything but a regular file (a folder, or a FIFO whose open would block the window) is
    // unreadable, and so never overwritten.
    if (!std::filesystem::is_regular_file(file, error)) {
        return {false, {}};
    }
    std::optional<std::string> bytes = readFileBytes(file);
    return bytes ? FileBytes{true, std::move(*bytes)} : FileBytes{false, {}};
}

} // namespace

SettingsFile::SettingsFile(std::filesystem::path file, ConsoleSink& console)
    : file_(std::move(file)), console_(console) {}

void SettingsFile::LoadSettings(ViewSettings& settings, FoundAddressStore& store) {
    const FileBytes content = readIfPresent(file_);
    unreadable_ = !content.readable;
    tarwick::LoadSettings(ProfileFile::fromBytes(content.bytes), settings, store);
}

bool SettingsFile::SaveSettings(const ViewSettings& settings, const FoundAddressStore& store,
                                bool optionsOnly) {
    const std::string name = file_.filename().string();
    if (!optionsOnly) {
        foundAddressesPending_ = true;
    }
    const FileBytes content = unreadable_ ? FileBytes{false, {}} : readIfPresent(file_);
    if (!content.readable) {
        tellFailure("[ERROR] '" + name +
                    "' could not be read, so it is not overwritten. Export the Bitcoin "
                    "addresses found to keep them.");
        return false;
    }
    ProfileFile profile = ProfileFile::fromBytes(content.bytes);
    tarwick::SaveSettings(profile, settings, store, !foundAddressesPending_);
    if (!writePrivateFile(file_, profile.toBytes()).ok()) {
        tellFailure("[ERROR] The settings could not be saved in '" + name +
                    "'. The Bitcoin addresses found are kept and will be saved at the next "
                    "change.");
        return false;
    }
    foundAddressesPending_ = false;
    failureTold_ = false;
    return true;
}

void SettingsFile::tellFailure(std::string_view text) {
    if (failureTold_) {
        return;
    }
    failureTold_ = true;
    console_.append(text, ConsoleStyle::Error, true);
}

} // namespace tarwick
