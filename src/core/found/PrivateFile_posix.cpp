#include "core/found/PrivateFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tarwick {
namespace {

constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The directory entry of the rename must reach the disk too, or a power cut may bring back
// the old name.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    ::fsync(fd);
    ::close(fd);
}

} // namespace

PrivateFileResult writePrivateFile(const std::filesystem::path& target, std::string_view bytes) {
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return {PrivateFileStatus::FolderMissing, error};
    }

    mode_t mode = kOwnerOnly;
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & kOwnerOnly;
    }

    // Built piece by piece: GCC 12 warns falsely (-Wrestrict) on "." + string at -O3.
    std::string hidden(1, '.');
    hidden.append(target.filename().string()).append(".XXXXXX");
    const std::string pattern = (folder / hidden).string();
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return {PrivateFileStatus::Failed, lastError()};
    }

    const auto fail = [&](std::error_code cause, bool open) {
        if (open) {
            ::close(fd);
        }
        ::unlink(temporary.data());
        return PrivateFileResult{PrivateFileStatus::Failed, cause};
    };
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0) {
        return fail(lastError(), true);
    }
    if (::close(fd) != 0) {
        return fail(lastError(), false);
    }
    if (::rename(temporary.data(), target.c_str()) != 0) {
        return fail(lastError(), false);
    }
    syncFolder(folder);
    return {PrivateFileStatus::Written, {}};
}

} // namespace tarwick
