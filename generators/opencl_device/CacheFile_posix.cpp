#include "engine/random/SystemRandom.h"
#include "opencl_device/CacheFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tarwick::opencl_device {

namespace {

bool ownedAndWritableByUserOnly(const struct stat& info) {
    return info.st_uid == ::getuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

} // namespace

bool preparePrivateFolder(const std::filesystem::path& folder) {
    std::filesystem::path path;
    for (const std::filesystem::path& part : folder) {
        path /= part;
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ownedAndWritableByUserOnly(info);
}

std::optional<std::vector<unsigned char>> readPrivateFile(const std::filesystem::path& file) {
    const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        !ownedAndWritableByUserOnly(info)) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
}

bool writePrivateFile(const std::filesystem::path& file, const std::vector<unsigned char>& bytes) {
    // A random name of our own, so that a run in parallel never writes into this one's file.
    std::uint8_t tag[8];
    engine::systemRandomBytes(tag, sizeof tag);
    std::string name = file.string() + ".";
    for (const std::uint8_t b : tag) {
        name += "0123456789abcdef"[b & 15];
    }
    name += ".tmp";
    Descriptor fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            break;
        }
        done += static_cast<std::size_t>(wrote);
    }
    const bool written = done == bytes.size() && fd.close();
    if (!written || ::rename(name.c_str(), file.c_str()) != 0) {
        ::unlink(name.c_str());
        return false;
    }
    return true;
}

} // namespace tarwick::opencl_device
