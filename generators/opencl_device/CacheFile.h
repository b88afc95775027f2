#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace tarwick::opencl_device {

// Files of the device-binary cache, which holds code the driver runs: only what the user
// alone could have written is ever read back.

// Creates the folder (and missing parents) for the user alone (0700); true when it is a
// folder, not a link, owned by the user and writable by no one else.
bool preparePrivateFolder(const std::filesystem::path& folder);

// The bytes of a regular file owned by the user and writable by no one else, opened without
// following a link; nothing for anything else.
std::optional<std::vector<unsigned char>> readPrivateFile(const std::filesystem::path& file);

// Writes a user-only file in place of `file` at once: a new temporary file beside it (never
// through a link), then renamed. False when it could not.
bool writePrivateFile(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);

} // namespace tarwick::opencl_device
