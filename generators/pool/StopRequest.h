#pragma once

#include <atomic>

namespace tarwick::pool {

// Has an interrupt or termination request set the returned flag; a second request ends the
// program at once. Ending at once is always safe (the miner writes no file); the flag only
// lets it end its status line and stop its threads in order.
const std::atomic<bool>& watchStopRequests();

} // namespace tarwick::pool
