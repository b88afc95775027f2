#include "platform/WorkingFolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tarwick {

WorkingFolderLock::WorkingFolderLock(const std::filesystem::path& folder) {
    // Never through a link planted at the name; not inherited by the generators.
    const int fd =
        ::open((folder / fileName).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    // flock belongs to the open file: the kernel drops it when the process ends.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        state_ = errno == EWOULDBLOCK ? State::HeldByAnother : State::Unavailable;
        ::close(fd);
        return;
    }
    handle_ = fd;
    state_ = State::Held;
}

WorkingFolderLock::~WorkingFolderLock() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
    }
}

} // namespace tarwick
