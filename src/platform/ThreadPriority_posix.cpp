#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace tarwick {

void lowerCurrentThreadPriority() {
#ifdef __linux__
    // On Linux a thread has its own nice value; elsewhere this call would slow the whole program.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
#endif
}

} // namespace tarwick
