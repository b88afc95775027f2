#pragma once

namespace tarwick::program {

// Exit codes every key-search program ends with; a program adds its own above these.
inline constexpr int kExitDone = 0;        // every pattern found, or -h
inline constexpr int kExitUsage = 1;       // bad options, no usable pattern, unusable files
inline constexpr int kExitCheckFailed = 2; // a key failed the self-check
inline constexpr int kExitInternal = 3;    // the search itself failed
// A found key could not be written to the -o file: it is only on standard output. The search
// stops at once, since a file that refused one key will likely refuse the next.
inline constexpr int kExitKeyNotWritten = 4;

} // namespace tarwick::program
