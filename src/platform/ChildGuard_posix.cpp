#include "platform/ChildGuard.h"

#include <QProcess>
#include <csignal>
#include <unistd.h>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tarwick {

void prepareGeneratorProcess(QProcess& process, int outputFile) {
    // QProcess sets up the standard channels (here: the null device) before the modifier
    // runs, so the dup2 below replaces them.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const pid_t parent = getpid();
    // Runs in the child between fork and exec: only async-signal-safe calls here.
    process.setChildProcessModifier([parent, outputFile] {
        if (outputFile >= 0 &&
            (dup2(outputFile, STDOUT_FILENO) < 0 || dup2(outputFile, STDERR_FILENO) < 0)) {
            _exit(127);
        }
#ifdef __linux__
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127); // the front-end died before the signal was armed
        }
#else
        (void)parent; // no parent-death signal on this system
#endif
    });
}

} // namespace tarwick
