#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace tarwick {

enum class PrivateFileStatus {
    Written,
    FolderMissing, // the folder that should hold the file does not exist; nothing was touched
    Failed,        // creating, writing, flushing or renaming failed; the old file is whole
};

struct PrivateFileResult {
    PrivateFileStatus status = PrivateFileStatus::Failed;
    std::error_code error;

    bool ok() const { return status == PrivateFileStatus::Written; }
};

// Replaces the file with the given bytes so that a crash or a failure at any moment leaves
// either the old file or the new one, whole: a temporary file in the same folder, written,
// flushed to disk, then renamed over the target. Files written here hold private keys, so the
// new file is readable and writable by its owner only (0600), or keeps the stricter mode of
// the file it replaces. A symbolic link at the target is replaced, never followed: a link
// planted there cannot make a save overwrite another of the user's files.
PrivateFileResult writePrivateFile(const std::filesystem::path& target, std::string_view bytes);

} // namespace tarwick
