#include "core/search/ClosingMessage.h"

#include "TempFolder.h"
#include "core/search/ReadWholeFile.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

TEST(ClosingMessage, FirstCaseThatHoldsWinsAndFailedStartReadsTheLog) {
    const std::string notStarted(kNotStartedMessage), failed(kStartFailedMessage);
    const std::string noOpenCl(kNoOpenClMessage), listing = "Available OpenCL platforms:\n0: x\n";
    const ClosingMessage canceled{std::string(kCanceledMessage), ConsoleStyle::Canceled};
    const ClosingMessage paused{std::string(kPausedMessage), ConsoleStyle::Heading};
    const ClosingMessage completed{std::string(kCompletedMessage), ConsoleStyle::Completed};
    const auto error = [](std::string text) { return ClosingMessage{text, ConsoleStyle::Error}; };
    const auto cpu = kCpuGenerator, gpu = kGpuGenerator, pool = kPoolMiner;
    const auto list = RunMode::ListPlatforms, search = RunMode::Search;
    struct Case {
        bool started, cancel, heat;
        unsigned passes;
        bool found;
        RunMode mode;
        std::string_view generator;
        std::optional<std::string> log;
        ClosingMessage expected;
    };
    const Case cases[] = {
        {false, true, true, 1, false, search, cpu, "log", error(notStarted)},
        {true, true, true, 1, false, search, cpu, "log", canceled},
        {true, false, true, 1, false, search, cpu, "log", paused},
        {true, false, false, 2, false, search, cpu, "log", completed},
        {true, false, false, 1, true, search, cpu, "log", completed},
        {true, false, false, 0, false, search, gpu, "log", error("[ERROR]\nlog")},
        {true, false, false, 1, false, list, gpu, std::nullopt, error(failed)},
        {true, false, false, 1, false, list, gpu, "", error(noOpenCl)},
        {true, false, false, 1, false, list, gpu, listing, error(listing)},
        {true, false, false, 1, false, search, gpu, std::nullopt, error(failed)},
        {true, false, false, 1, false, search, gpu, "", error(noOpenCl)},
        {true, false, false, 1, false, search, pool, std::nullopt, error(failed)},
        {true, false, false, 1, false, search, pool, "", error(noOpenCl)},
        {true, false, false, 1, false, search, pool, "bad url", error("[ERROR]\nbad url")},
        {true, false, false, 1, false, search, cpu, "", error(failed)},
        {true, false, false, 1, false, search, cpu, "error Invalid character", error(failed)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.generator << " passes " << c.passes << " log "
                                          << c.log.value_or("<none>"));
        const RunEnding e{
            c.started, c.cancel, c.heat, c.passes, c.found, c.mode, std::string(c.generator)};
        EXPECT_EQ(ChooseClosingMessage(e, c.log), c.expected);
    }
}

TEST(ReadWholeFile, DropsCrBeforeLfOnlyAndGivesEmptyWhenMissing) {
    testing::TempFolder dir;
    testing::WriteBytes(dir / "log", "a\r\nb\rc\r\r\n\r");
    EXPECT_EQ(ReadWholeFile(dir / "log"), "a\nb\rc\r\n\r");
    EXPECT_EQ(ReadWholeFile(dir / "missing"), "");
}

} // namespace
} // namespace tarwick
