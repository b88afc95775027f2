#include "pool/StopRequest.h"

#include <csignal>
#include <unistd.h>

namespace tarwick::pool {

namespace {

// Set from the signal handler; lock-free, so that is allowed.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void requestStop(int) {
    // A second request, or one while a device is still being prepared, ends it at once.
    if (stopRequested.exchange(true)) {
        _exit(0);
    }
}

} // namespace

const std::atomic<bool>& watchStopRequests() {
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    return stopRequested;
}

} // namespace tarwick::pool
