#include "engine/process/CoreDumps.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace tarwick::engine {

void disableCoreDumps() {
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    // Also covers a core_pattern that pipes to a handler, which RLIMIT_CORE 0 does not stop.
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

} // namespace tarwick::engine
