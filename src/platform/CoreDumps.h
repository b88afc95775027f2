#pragma once

namespace tarwick {

// The front-end holds private keys in memory: a crash must not write them to disk in a core
// dump, and other processes of the user must not read its memory. Called first thing in main().
void disableCoreDumps();

} // namespace tarwick
