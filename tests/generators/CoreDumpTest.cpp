// The generators hold private keys in memory: a crash must not write them to a core dump.
// (Every program run by the tests is checked for a zero core-file limit as well.)

#include "engine/process/CoreDumps.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(CoreDumps, TheCallTurnsOffDumpsAndDumpability) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        tarwick::engine::disableCoreDumps();
        rlimit limit{};
        ::getrlimit(RLIMIT_CORE, &limit);
        const bool off =
            limit.rlim_cur == 0 && limit.rlim_max == 0 && ::prctl(PR_GET_DUMPABLE) == 0;
        ::_exit(off ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
