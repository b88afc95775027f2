#include "engine/search/ResultFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tarwick::engine {

ResultFile::~ResultFile() {
    if (isOpen()) {
        ::close(static_cast<int>(handle_));
    }
}

bool ResultFile::open(const std::string& path, std::string& error) {
    // Found keys are never written through a link another account could have planted.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
        return false;
    }
    if (isOpen()) {
        ::close(static_cast<int>(handle_));
    }
    handle_ = fd;
    return true;
}

bool ResultFile::append(const std::string& record, std::string& error) {
    if (!isOpen()) {
        error = "the file is not open";
        return false;
    }
    const int fd = static_cast<int>(handle_);
    std::size_t done = 0;
    while (done < record.size()) {
        // One call for the whole record; only a full disk or a signal splits it.
        const ssize_t wrote = ::write(fd, record.data() + done, record.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = std::strerror(errno);
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (::fdatasync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace tarwick::engine
