#include "platform/WorkingFolderLock.h"

#include <windows.h>

namespace tarwick {

WorkingFolderLock::WorkingFolderLock(const std::filesystem::path& folder) {
    const HANDLE file =
        ::CreateFileW((folder / fileName).c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    // The system releases the lock when the handle closes, which a process's end does.
    OVERLAPPED whole{};
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                      MAXDWORD, &whole)) {
        state_ =
            ::GetLastError() == ERROR_LOCK_VIOLATION ? State::HeldByAnother : State::Unavailable;
        ::CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    state_ = State::Held;
}

WorkingFolderLock::~WorkingFolderLock() {
    if (handle_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

} // namespace tarwick
