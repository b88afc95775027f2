#pragma once

namespace tarwick {

// Lowers the calling thread's scheduling priority, so that background work (the saving of
// Settings.ini) yields the processor to the window's thread on a busy machine.
void lowerCurrentThreadPriority();

} // namespace tarwick
