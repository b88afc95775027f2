#include "core/search/ClosingMessage.h"

#include "TempFolder.h"
#include "core/search/ReadWholeFile.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

RunEnding ended(unsigned passes, RunMode mode = RunMode::Search,
                std::string_view generator = kCpuGenerator) {
    RunEnding e;
    e.processStarted = true;
    e.passCount = passes;
    e.mode = mode;
    e.generatorName = generator;
    return e;
}

TEST(ClosingMessage, FirstCaseThatHoldsWins) {
    RunEnding e = ended(1);
    e.processStarted = false;
    e.cancelRequested = true;
    e.pausedForHeat = true;
    EXPECT_EQ(ChooseClosingMessage(e, "log"),
              (ClosingMessage{"[ERROR]\nThe external .exe program could not be started.",
                              ConsoleStyle::Error}));
    e.processStarted = true;
    EXPECT_EQ(ChooseClosingMessage(e, "log"),
              (ClosingMessage{"Search canceled by user", ConsoleStyle::Canceled}));
    e.cancelRequested = false;
    EXPECT_EQ(ChooseClosingMessage(e, "log"),
              (ClosingMessage{"[PAUSE] Search paused for avoid CPU or GPU overheating.\n"
                              "The search will resume shortly.",
                              ConsoleStyle::Heading}));
    e.pausedForHeat = false;
    EXPECT_EQ(ChooseClosingMessage(e, std::nullopt),
              (ClosingMessage{"[ERROR] The search could not be started.", ConsoleStyle::Error}));
    e.passCount = 2;
    EXPECT_EQ(ChooseClosingMessage(e, "log"),
              (ClosingMessage{"Search completed", ConsoleStyle::Completed}));
}

TEST(ClosingMessage, KeyInTheFirstPassIsNoFailedStart) {
    RunEnding e = ended(1);
    e.foundAny = true;
    EXPECT_EQ(ChooseClosingMessage(e, "x").text, "Search completed");
    EXPECT_FALSE(EndedInFirstWait(e));
    e.foundAny = false;
    EXPECT_TRUE(EndedInFirstWait(e));
    e.passCount = 0;
    EXPECT_TRUE(EndedInFirstWait(e));
}

TEST(ClosingMessage, FailedStartPerModeGeneratorAndLog) {
    const std::string noOpenCl =
        "[ERROR]\nThere are no OpenCL compatible platforms on your system.";
    const std::string failed = "[ERROR] The search could not be started.";
    const std::string listing = "Available OpenCL platforms:\n0: [pocl] Portable\n";
    struct Case {
        RunMode mode;
        std::string_view generator;
        std::optional<std::string> log;
        std::string expected;
    };
    const Case cases[] = {
        {RunMode::ListPlatforms, kGpuGenerator, std::nullopt, failed},
        {RunMode::ListPlatforms, kGpuGenerator, "", noOpenCl},
        {RunMode::ListPlatforms, kGpuGenerator, listing, listing},
        {RunMode::Search, kGpuGenerator, std::nullopt, failed},
        {RunMode::Search, kGpuGenerator, "", noOpenCl},
        {RunMode::Search, kGpuGenerator, "error opening device\n",
         "[ERROR]\nerror opening device\n"},
        {RunMode::Search, kPoolMiner, std::nullopt, failed},
        {RunMode::Search, kPoolMiner, "", noOpenCl},
        {RunMode::Search, kPoolMiner, "bad url", "[ERROR]\nbad url"},
        {RunMode::Search, kCpuGenerator, std::nullopt, failed},
        {RunMode::Search, kCpuGenerator, "", failed},
        {RunMode::Search, kCpuGenerator, "error Invalid character", failed},
    };
    for (const Case& c : cases) {
        const ClosingMessage m = ChooseClosingMessage(ended(1, c.mode, c.generator), c.log);
        EXPECT_EQ(m.text, c.expected) << c.generator << " log " << c.log.value_or("<none>");
        EXPECT_EQ(m.style, ConsoleStyle::Error);
    }
}

TEST(ReadWholeFile, DropsCrBeforeLfOnlyAndGivesEmptyWhenMissing) {
    testing::TempFolder dir;
    testing::WriteBytes(dir / "log", "a\r\nb\rc\r\r\n\r");
    EXPECT_EQ(ReadWholeFile(dir / "log"), "a\nb\rc\r\n\r");
    EXPECT_EQ(ReadWholeFile(dir / "missing"), "");
    testing::WriteBytes(dir / "empty", "");
    EXPECT_EQ(ReadWholeFile(dir / "empty"), "");
}

} // namespace
} // namespace tarwick
