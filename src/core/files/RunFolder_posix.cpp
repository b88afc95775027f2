#include "core/files/RunFolder.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarwick {
namespace {

constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%SZ", &utc);
    return text;
}

// The folder's name in quotes, built by appending: GCC 12 warns falsely (-Wrestrict) on
// "'" + string at -O3.
std::string quoted(const std::filesystem::path& folder) {
    std::string text(1, '\'');
    text.append(folder.string()).append(1, '\'');
    return text;
}

} // namespace

std::optional<std::string> unsafeFolderReason(const std::filesystem::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return quoted(folder) + " cannot be examined: " + std::strerror(errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return quoted(folder) + " is not a folder";
    }
    if (info.st_uid != ::geteuid() && info.st_uid != 0) {
        return quoted(folder) + " is owned by another user";
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return quoted(folder) + " can be written by other users";
    }
    return std::nullopt;
}

OwnedFile::~OwnedFile() {
    if (valid()) {
        ::close(descriptor_);
    }
}

int OwnedFile::release() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return descriptor;
}

RunFolder::RunFolder(const std::filesystem::path& folder)
    : descriptor_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), folder_(folder) {}

RunFolder::~RunFolder() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool RunFolder::remove(std::string_view name) {
    const std::string entry(name);
    return descriptor_ >= 0 && (::unlinkat(descriptor_, entry.c_str(), 0) == 0 || errno == ENOENT);
}

OwnedFile RunFolder::createPrivate(std::string_view name, std::string& why) {
    const std::string entry(name);
    OwnedFile file(descriptor_ < 0 ? -1
                                   : ::openat(descriptor_, entry.c_str(),
                                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                              kOwnerOnly));
    if (!file.valid()) {
        why = std::strerror(descriptor_ < 0 ? EBADF : errno);
        return {};
    }
    struct stat info {};
    if (::fstat(file.descriptor(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || info.st_nlink != 1) {
        why = "it is not a file of this user's alone";
        return {};
    }
    // The umask may have taken bits away, never added any; this makes the mode exact.
    ::fchmod(file.descriptor(), kOwnerOnly);
    return file;
}

std::optional<std::string> RunFolder::keep(std::string_view name, std::string_view stem,
                                           std::string_view extension) {
    const std::string entry(name);
    const std::string base = std::string(stem) + "-" + utcStamp();
    for (int copy = 1; copy < 100 && descriptor_ >= 0; ++copy) {
        std::string kept = base;
        if (copy > 1) {
            kept.append("-").append(std::to_string(copy));
        }
        kept.append(extension);
        // A hard link never replaces an existing name, unlike a rename.
        if (::linkat(descriptor_, entry.c_str(), descriptor_, kept.c_str(), 0) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            return std::nullopt;
        }
        ::unlinkat(descriptor_, entry.c_str(), 0);
        const OwnedFile file(
            ::openat(descriptor_, kept.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        if (file.valid()) {
            ::fchmod(file.descriptor(), kOwnerOnly);
        }
        return kept;
    }
    return std::nullopt;
}

} // namespace tarwick
