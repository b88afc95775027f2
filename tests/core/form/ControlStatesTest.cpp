#include "core/form/ControlStates.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

TEST(ControlStates, GeneratorDecidesPlatformThreadsAndReward) {
    struct Case {
        const char* app;
        bool platform, threads, reward;
    };
    for (const Case& t : {Case{"Vanitygen (CPU)", false, true, false},
                          Case{"Vanitygen (OpenCL GPU)", true, false, false},
                          Case{"Vanityminer pool (OpenCL GPU)", true, false, true},
                          Case{"vanitygen (cpu)", true, false, false}, Case{"", true, false, false},
                          Case{"Vanitygen (CPU) ", true, false, false}}) {
        const ControlStates s = controlStatesFor(t.app, true);
        EXPECT_EQ(s.openClPlatform, t.platform) << t.app;
        EXPECT_EQ(s.cpuThreads, t.threads) << t.app;
        EXPECT_EQ(s.rewardAddress, t.reward) << t.app;
    }
}

TEST(ControlStates, PatternSourceControlsFollowTheBoxFlagOnly) {
    const ControlStates box = controlStatesFor("Vanitygen (CPU)", true);
    EXPECT_TRUE(box.patternsBox);
    EXPECT_FALSE(box.selectFile || box.patternsFilePath || box.editPatternsFile);

    const ControlStates file = controlStatesFor("Vanitygen (CPU)", false);
    EXPECT_FALSE(file.patternsBox);
    EXPECT_TRUE(file.selectFile && file.patternsFilePath && file.editPatternsFile);

    // The generator choice never touches the pattern-source controls.
    EXPECT_EQ(controlStatesFor("Vanityminer pool (OpenCL GPU)", false).patternsBox, false);
    EXPECT_EQ(controlStatesFor("Vanityminer pool (OpenCL GPU)", false).selectFile, true);
}

} // namespace
} // namespace tarwick
