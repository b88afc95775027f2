#include "platform/ChildGuard.h"

#include <QProcess>
#include <csignal>
#include <unistd.h>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tarwick {

void PrepareGeneratorProcess(QProcess& process) {
#ifdef __linux__
    const pid_t parent = getpid();
    // Runs in the child between fork and exec: only async-signal-safe calls here.
    process.setChildProcessModifier([parent] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127); // the front-end died before the signal was armed
        }
    });
#else
    (void)process; // no parent-death signal on this system
#endif
}

} // namespace tarwick
