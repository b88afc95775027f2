#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarwick {

// Why the folder may not hold a run's files, or nothing when it may: like ssh with ~/.ssh, it
// must be a folder owned by the user (or by the system administrator, as an installed
// vanitygen/ is) that no group or other account can write to. A link to such a folder is fine.
std::optional<std::string> unsafeFolderReason(const std::filesystem::path& folder);

// A file this program created and alone holds open; closed when it goes.
class OwnedFile {
public:
    OwnedFile() = default;
    explicit OwnedFile(int descriptor) : descriptor_(descriptor) {}
    OwnedFile(OwnedFile&& other) noexcept : descriptor_(other.release()) {}
    ~OwnedFile();

    bool valid() const { return descriptor_ >= 0; }
    int descriptor() const { return descriptor_; }
    int release();

private:
    int descriptor_ = -1;
};

// The working folder as a run writes it: every name is taken relative to the folder opened
// once, so a folder swapped or a link planted meanwhile never redirects a write or a removal.
class RunFolder {
public:
    explicit RunFolder(const std::filesystem::path& folder);
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // Removes the entry itself (a link, never what it names); true when it is gone.
    bool remove(std::string_view name);
    // A new, empty, user-only (0600) file that did not exist before, checked after the open to
    // be a regular file of the user's with one link; invalid, with why set, otherwise.
    OwnedFile createPrivate(std::string_view name, std::string& why);
    // Renames the entry to stem-<UTC date and time><extension> (with a counter when that name
    // is taken) and makes it user-only; the new name, or nothing when it could not be kept.
    std::optional<std::string> keep(std::string_view name, std::string_view stem,
                                    std::string_view extension);

private:
    int descriptor_ = -1;
    std::filesystem::path folder_; // where the platform has no folder handle, names join this
};

} // namespace tarwick
