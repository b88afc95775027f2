#include "pool/StopRequest.h"

#include <windows.h>

namespace tarwick::pool {

namespace {

// Set from the console's handler thread; lock-free, so no lock can be left held.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

BOOL WINAPI requestStop(DWORD) {
    // A second request, or one while a device is still being prepared, ends it at once.
    if (stopRequested.exchange(true)) {
        ExitProcess(0);
    }
    return TRUE;
}

} // namespace

const std::atomic<bool>& watchStopRequests() {
    SetConsoleCtrlHandler(requestStop, TRUE);
    return stopRequested;
}

} // namespace tarwick::pool
