#include "engine/process/CoreDumps.h"
#include "pool/MinerProgram.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

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

int main(int argc, char** argv) {
    tarwick::engine::disableCoreDumps();
    // Ending the run at once is always safe (the miner writes no file); these only let it
    // end its status line and stop its threads in order.
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tarwick::pool::runMinerProgram(args, stdout, stderr, stopRequested);
}
