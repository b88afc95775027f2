#pragma once

#include <cstdint>
#include <filesystem>

namespace tarwick {

// One Tarwick per working folder: an advisory lock on a lock file in the folder, held until this
// object is destroyed or the process ends, however it ends, so a crash never leaves a stale lock.
// Two windows on one folder would each rewrite Settings.ini from their own memory and drop the
// keys the other found.
class WorkingFolderLock {
public:
    enum class State {
        Held,          // this process holds the folder
        HeldByAnother, // another process holds it: this one must not write there
        Unavailable,   // no lock could be taken (a read-only folder, say); nothing to guard
    };

    explicit WorkingFolderLock(const std::filesystem::path& folder);
    ~WorkingFolderLock();
    WorkingFolderLock(const WorkingFolderLock&) = delete;
    WorkingFolderLock& operator=(const WorkingFolderLock&) = delete;

    State state() const { return state_; }

    // The lock file's name in the working folder.
    static constexpr const char* fileName = ".tarwick.lock";

private:
    State state_ = State::Unavailable;
    std::intptr_t handle_ = -1; // the open lock file, -1 when none
};

} // namespace tarwick
