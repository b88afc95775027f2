#include "platform/CoreDumps.h"

namespace tarwick {

// Windows writes no core file of its own accord; crash reports are the user's choice.
void disableCoreDumps() {}

} // namespace tarwick
