// The generators hold private keys in memory: a crash must not write them to a core dump.
// (Every program run by the tests is checked for a zero core-file limit as well.)

#include "engine/process/CoreDumps.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace {

TEST(CoreDumps, TheCallTurnsOffDumpsAndDumpability) {
    EXPECT_EXIT(
        {
            tarwick::engine::disableCoreDumps();
            rlimit limit{};
            ::getrlimit(RLIMIT_CORE, &limit);
            std::exit(limit.rlim_max == 0 && ::prctl(PR_GET_DUMPABLE) == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
