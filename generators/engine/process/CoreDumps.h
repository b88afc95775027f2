#pragma once

namespace tarwick::engine {

// Keeps the private keys this process holds out of core dumps and crash reports: on Linux
// RLIMIT_CORE 0 (soft and hard) and PR_SET_DUMPABLE 0, which also keeps other processes of
// the user from attaching to it or reading its memory. Called first thing in main().
// Best effort: a system that refuses leaves the process as it was.
void disableCoreDumps();

} // namespace tarwick::engine
