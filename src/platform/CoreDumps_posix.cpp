#include "platform/CoreDumps.h"

#include <sys/resource.h>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tarwick {

void disableCoreDumps() {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
#ifdef __linux__
    // Also keeps same-user debuggers and /proc/<pid>/mem readers out. The generators inherit
    // the zero core size; exec gives each of them its own dumpable flag back.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

} // namespace tarwick
