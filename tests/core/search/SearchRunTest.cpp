#include "core/search/SearchRun.h"

#include "SearchRunFakes.h"
#include "core/search/ClosingMessage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarwick {
namespace {

using namespace std::chrono_literals;
using testing::ConsolePiece;

GeneratorOptions generator(std::string_view app) {
    GeneratorOptions o;
    o.externalApp = app;
    o.cpuThreads = 2;
    o.rewardAddress = "1Reward";
    return o;
}

class SearchRunTest : public ::testing::Test {
protected:
    void SetUp() override { console.append("earlier text", ConsoleStyle::Plain, true); }

    bool start(std::string_view app = kCpuGenerator, int patterns = 3) {
        return run.startSearch(generator(app), patterns);
    }
    // The last piece of the console: the closing message of a run that has ended.
    ConsolePiece closing() const { return console.last(); }
    bool consoleHas(std::string_view text, ConsoleStyle style = ConsoleStyle::Error) const {
        for (const ConsolePiece& piece : console.pieces)
            if (piece.style == style && piece.text.find(text) != std::string::npos)
                return true;
        return false;
    }
    // The folder's entry whose name begins with the prefix (empty path when none).
    std::filesystem::path entryStartingWith(std::string_view prefix) const {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            if (entry.path().filename().string().starts_with(prefix))
                return entry.path();
        return {};
    }
    static unsigned modeOf(const std::filesystem::path& file) {
        return static_cast<unsigned>(std::filesystem::symlink_status(file).permissions() &
                                     std::filesystem::perms::mask);
    }

    testing::TempFolder dir;
    testing::FakeChild child;
    testing::FakeClock clock;
    testing::FakeConsole console;
    testing::FakeView view;
    SearchRunHooks hooks;
    SearchRun run{child, clock, console, view, dir.path()};
};

TEST_F(SearchRunTest, StartsTheGeneratorFromItsArgumentListInTheWorkingFolder) {
    ASSERT_TRUE(start());
    ASSERT_EQ(child.requests.size(), 1u);
    const ChildStart& r = child.requests[0];
    EXPECT_EQ(r.program, "vanitygen//vanitygen64.exe");
    EXPECT_EQ(r.arguments, (std::vector<std::string>{"-t", "2", "-o", "results.txt", "-f",
                                                     "vanitygen//patterns.txt"}));
    EXPECT_EQ(r.workingDirectory, dir.path());
    EXPECT_EQ(r.outputLog, dir / "stdout.log");
    EXPECT_EQ(run.command().generatorName, kCpuGenerator);
}

TEST_F(SearchRunTest, DeletesTheOutputFilesOfAnEarlierRunFirst) {
    testing::WriteBytes(dir / "stdout.log", "[old key/s]");
    testing::WriteBytes(dir / "results.txt", "Pattern: 1A\n");
    ASSERT_TRUE(run.listPlatforms(generator(kCpuGenerator)));
    EXPECT_EQ(child.logAtStart, "");
    EXPECT_EQ(child.resultsAtStart, "");
}

TEST_F(SearchRunTest, RunFilesAreNewUserOnlyFilesNeverALinkPlantedThere) {
    testing::WriteBytes(dir / "victim", "the user's other file");
    std::filesystem::create_symlink("victim", dir / "results.txt");
    std::filesystem::create_symlink(dir / "victim", dir / "stdout.log");
    ASSERT_TRUE(start());
    EXPECT_GE(child.requests[0].outputFile, 0);
    EXPECT_EQ(testing::ReadBytes(dir / "victim"), "the user's other file");
    for (const char* name : {"results.txt", "stdout.log", "run-patterns.txt"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir / name)))
            << name;
        EXPECT_EQ(modeOf(dir / name), 0600u) << name;
    }
}

TEST_F(SearchRunTest, ResultsWithAKeyToKeepAreRenamedUserOnlyNeverDeleted) {
    for (const std::string why : {"", "holds a found key not yet saved in Settings.ini"}) {
        hooks.whyKeepResults = [why] { return why; };
        run.setHooks(hooks);
        testing::WriteBytes(dir / "results.txt", "Pattern: 1A\n");
        ::chmod((dir / "results.txt").c_str(), 0644);
        ASSERT_TRUE(start());
        const auto kept = entryStartingWith("results-");
        EXPECT_EQ(!kept.empty(), !why.empty()) << why;
        if (!kept.empty()) {
            EXPECT_EQ(testing::ReadBytes(kept), "Pattern: 1A\n");
            EXPECT_EQ(modeOf(kept), 0600u);
            EXPECT_TRUE(consoleHas("results.txt " + why + ", so it is kept as '" +
                                   kept.filename().string() + "'"));
            std::filesystem::remove(kept);
        }
        EXPECT_EQ(child.resultsAtStart, "");
        run.stop();
        run.pass(true);
    }
}

TEST_F(SearchRunTest, LogThatCannotBeMadeLeavesTheOutputDiscardedAndSaysSo) {
    std::filesystem::create_directories(dir / "stdout.log" / "inside");
    ASSERT_TRUE(start());
    EXPECT_EQ(child.requests[0].outputFile, -1);
    EXPECT_TRUE(consoleHas("stdout.log could not be written"));
}

TEST_F(SearchRunTest, KeyNotWrittenByTheGeneratorKeepsTheLogWithTheKey) {
    for (const int code : {0, kExitKeyNotWritten}) {
        child.output = "Privkey: 5Kkey\n";
        child.exitCodeAtEnd = code;
        ASSERT_TRUE(start());
        child.end();
        run.pass(true);
        const auto kept = entryStartingWith("stdout-");
        ASSERT_EQ(!kept.empty(), code == kExitKeyNotWritten) << code;
        if (!kept.empty()) {
            EXPECT_EQ(testing::ReadBytes(kept), "Privkey: 5Kkey\n");
            EXPECT_EQ(modeOf(kept), 0600u);
            EXPECT_TRUE(consoleHas("The key is in '" + kept.filename().string() + "'"));
        }
    }
}

TEST_F(SearchRunTest, FolderOthersCanWriteToOrOwnIsRefused) {
    struct Case {
        const char* folder;
        mode_t mode;
        bool foreignOwner; // only root can give a folder away
    };
    const Case cases[] = {
        {".", 0775, false}, {"vanitygen", 0757, false}, {"vanitygen", 0755, true}};
    for (const Case& c : cases) {
        if (c.foreignOwner && ::geteuid() != 0) {
            continue;
        }
        std::filesystem::create_directories(dir / "vanitygen");
        ::chmod((dir / c.folder).c_str(), c.mode);
        if (c.foreignOwner) {
            ASSERT_EQ(::chown((dir / c.folder).c_str(), 65534, 65534), 0);
        }
        EXPECT_FALSE(start()) << c.folder;
        EXPECT_TRUE(child.requests.empty()) << c.folder;
        EXPECT_TRUE(consoleHas("The search was not started")) << c.folder;
        EXPECT_TRUE(view.newRunAllowed);
        ::chmod((dir / c.folder).c_str(), 0755);
        ::chown((dir / c.folder).c_str(), ::geteuid(), ::getegid());
    }
    EXPECT_TRUE(start());
}

TEST_F(SearchRunTest, PatternsOfARunAreRememberedBesideItsResults) {
    const SearchedPatterns searched{true, {"1Ab", "1Cd"}};
    ASSERT_TRUE(run.startSearch(generator(kCpuGenerator), 2, searched));
    ASSERT_NE(run.searchedPatterns(), nullptr);
    EXPECT_EQ(*run.searchedPatterns(), searched);
    const SearchRun later{child, clock, console, view, dir.path()};
    ASSERT_NE(later.searchedPatterns(), nullptr);
    EXPECT_EQ(*later.searchedPatterns(), searched);
}

TEST_F(SearchRunTest, BannerOfASearch) {
    ASSERT_TRUE(start(kCpuGenerator, 7));
    EXPECT_EQ(console.clears, 1);
    const std::vector<ConsolePiece> banner{
        {"************", ConsoleStyle::Heading, true},
        {"Search started", ConsoleStyle::Heading, true},
        {"************", ConsoleStyle::Heading, true},
        {"Process: ", ConsoleStyle::Label, false},
        {"Vanitygen (CPU)", ConsoleStyle::Plain, true},
        {"Patterns to search: ", ConsoleStyle::Label, false},
        {"7", ConsoleStyle::Plain, true},
        {"-----------------------------------------", ConsoleStyle::Plain, true},
    };
    EXPECT_EQ(console.pieces, banner);
    EXPECT_FALSE(view.startShown);
    EXPECT_FALSE(view.newRunAllowed);
    EXPECT_TRUE(view.passTimerActive);
    EXPECT_TRUE(run.searchRunning());
    EXPECT_TRUE(run.active());
}

TEST_F(SearchRunTest, PoolMinerBannerHasNoPatternCount) {
    ASSERT_TRUE(start(kPoolMiner, 5));
    ASSERT_EQ(console.pieces.size(), 6u);
    EXPECT_EQ(console.pieces[4].text, "Vanityminer pool (OpenCL GPU)");
    EXPECT_EQ(console.pieces[5].text, "-----------------------------------------");
}

TEST_F(SearchRunTest, ListingClearsTheConsoleWithoutBannerOrElapsedTime) {
    int newSearches = 0;
    hooks.newSearchStarted = [&] { ++newSearches; };
    run.setHooks(hooks);
    view.elapsed = "untouched";
    ASSERT_TRUE(run.listPlatforms(generator(kCpuGenerator)));
    EXPECT_EQ(child.requests[0].program, "vanitygen//oclvanitygen.exe");
    EXPECT_EQ(console.clears, 1);
    EXPECT_TRUE(console.pieces.empty());
    EXPECT_EQ(newSearches, 0);
    clock.advance(1500ms);
    run.pass(false);
    EXPECT_EQ(view.elapsed, "untouched");
}

TEST_F(SearchRunTest, ChildThatCannotStartEndsTheRunAtOnce) {
    child.startSucceeds = false;
    ASSERT_TRUE(start());
    EXPECT_EQ(console.clears, 0) << "no clearing and no banner";
    ASSERT_EQ(console.pieces.size(), 2u);
    EXPECT_EQ(console.pieces[0].text, "earlier text");
    EXPECT_EQ(closing(), (ConsolePiece{"[ERROR]\nThe external .exe program could not be started.",
                                       ConsoleStyle::Error, true}));
    EXPECT_TRUE(view.startShown);
    EXPECT_TRUE(view.newRunAllowed);
    EXPECT_FALSE(view.passTimerActive);
    EXPECT_FALSE(run.active());
    EXPECT_FALSE(run.searchRunning());
    EXPECT_FALSE(run.processStarted());
    run.pass(true);
    EXPECT_EQ(console.pieces.size(), 2u) << "no pass after the end";
}

TEST_F(SearchRunTest, EndInTheSecondPassCompletes) {
    ASSERT_TRUE(start());
    clock.advance(1000ms);
    run.pass(false);
    EXPECT_TRUE(run.active());
    clock.advance(300ms);
    child.end();
    run.pass(true);
    EXPECT_EQ(closing(), (ConsolePiece{"Search completed", ConsoleStyle::Completed, true}));
    EXPECT_EQ(run.passCount(), 2u);
    EXPECT_TRUE(view.startShown);
    EXPECT_TRUE(view.newRunAllowed);
    EXPECT_FALSE(view.passTimerActive);
    EXPECT_FALSE(run.searchRunning());
    run.pass(true);
    run.pass(false);
    EXPECT_EQ(console.pieces.back().text, "Search completed");
    EXPECT_EQ(run.passCount(), 2u) << "late ticks are ignored";
}

TEST_F(SearchRunTest, EndSeenByATimerPassCountsToo) {
    ASSERT_TRUE(start());
    run.pass(false);
    child.end();
    run.pass(false); // the end signal is still on its way
    EXPECT_EQ(closing().text, "Search completed");
    run.pass(true);
    EXPECT_EQ(run.passCount(), 2u);
}

// Ends the run in its first pass, the log holding `log` (nullopt: no log file at all).
struct FirstWaitCase {
    RunMode mode;
    std::string_view generator;
    std::optional<std::string> log;
    std::string expected;
};

class FirstWaitFailure : public SearchRunTest,
                         public ::testing::WithParamInterface<FirstWaitCase> {};

TEST_P(FirstWaitFailure, ClosingMessageComesFromTheLogByModeAndGenerator) {
    const FirstWaitCase& c = GetParam();
    child.output = c.log;
    if (c.mode == RunMode::Search) {
        ASSERT_TRUE(start(c.generator));
    } else {
        ASSERT_TRUE(run.listPlatforms(generator(c.generator)));
    }
    child.end();
    run.pass(true);
    EXPECT_EQ(closing(), (ConsolePiece{c.expected, ConsoleStyle::Error, true}));
    EXPECT_TRUE(view.startShown);
}

const std::string kNoOpenCl = "[ERROR]\nThere are no OpenCL compatible platforms on your system.";
const std::string kFailed = "[ERROR] The search could not be started.";
const std::string kListing =
    "Could not open device '99:99', ignoring\r\nAvailable OpenCL platforms:\r\n"
    "0: [The pocl project] Portable Computing Language\r\n";
const std::string kListingShown =
    "Could not open device '99:99', ignoring\nAvailable OpenCL platforms:\n"
    "0: [The pocl project] Portable Computing Language\n";

INSTANTIATE_TEST_SUITE_P(
    Endings, FirstWaitFailure,
    ::testing::Values(FirstWaitCase{RunMode::ListPlatforms, kCpuGenerator, kListing, kListingShown},
                      FirstWaitCase{RunMode::ListPlatforms, kPoolMiner, "", kNoOpenCl},
                      FirstWaitCase{RunMode::ListPlatforms, kGpuGenerator, std::nullopt, kFailed},
                      FirstWaitCase{RunMode::Search, kGpuGenerator, "error opening OpenCL device\n",
                                    "[ERROR]\nerror opening OpenCL device\n"},
                      FirstWaitCase{RunMode::Search, kGpuGenerator, "", kNoOpenCl},
                      FirstWaitCase{RunMode::Search, kGpuGenerator, std::nullopt, kFailed},
                      FirstWaitCase{RunMode::Search, kPoolMiner, "error fetching work\n",
                                    "[ERROR]\nerror fetching work\n"},
                      FirstWaitCase{RunMode::Search, kPoolMiner, "", kNoOpenCl},
                      FirstWaitCase{RunMode::Search, kPoolMiner, std::nullopt, kFailed},
                      FirstWaitCase{RunMode::Search, kCpuGenerator, "error Invalid character\n",
                                    kFailed},
                      FirstWaitCase{RunMode::Search, kCpuGenerator, "", kFailed},
                      FirstWaitCase{RunMode::Search, kCpuGenerator, std::nullopt, kFailed}));

TEST_F(SearchRunTest, KeyInTheFirstPassThenEndCompletes) {
    hooks.checkFoundKeys = [] { return true; };
    run.setHooks(hooks);
    ASSERT_TRUE(start(kGpuGenerator));
    child.end();
    run.pass(true);
    EXPECT_EQ(closing().text, "Search completed");
    EXPECT_TRUE(run.foundAny());
}

TEST_F(SearchRunTest, ListingThatOutlastsTheFirstWaitCompletesWithoutListing) {
    child.output = "0: [pocl]\n";
    ASSERT_TRUE(run.listPlatforms(generator(kGpuGenerator)));
    run.pass(false);
    child.end();
    run.pass(true);
    ASSERT_EQ(console.pieces.size(), 1u);
    EXPECT_EQ(closing().text, "Search completed");
}

TEST_F(SearchRunTest, StopShowsStartAtOnceAndCancels) {
    ASSERT_TRUE(start());
    run.pass(false);
    run.stop();
    EXPECT_EQ(child.kills, 1);
    EXPECT_TRUE(view.startShown) << "Start comes back at once";
    EXPECT_FALSE(view.newRunAllowed) << "but no second run until this child has gone";
    EXPECT_FALSE(run.searchRunning());
    EXPECT_TRUE(run.cancelRequested());
    EXPECT_FALSE(start()) << "a second start while the child ends is refused";
    EXPECT_FALSE(run.listPlatforms(generator(kCpuGenerator)));
    EXPECT_EQ(child.requests.size(), 1u);

    run.pass(true);
    EXPECT_EQ(closing(), (ConsolePiece{"Search canceled by user", ConsoleStyle::Canceled, true}));
    EXPECT_TRUE(view.newRunAllowed);
    EXPECT_FALSE(view.passTimerActive);
    EXPECT_TRUE(start()) << "the next run may start";
    EXPECT_FALSE(run.cancelRequested()) << "cleared when the next loop begins";
}

TEST_F(SearchRunTest, StopInTheFirstPassStillReadsCanceled) {
    ASSERT_TRUE(start());
    run.stop();
    run.pass(false); // the child is gone: the timer pass ends the run
    EXPECT_EQ(closing().text, "Search canceled by user");
}

TEST_F(SearchRunTest, StopWithoutARunOnlyShowsStart) {
    run.stop();
    EXPECT_EQ(child.kills, 0);
    EXPECT_TRUE(view.startShown);
    EXPECT_EQ(console.pieces.size(), 1u);
}

TEST_F(SearchRunTest, SecondRunIsRefusedWhileOneIsActive) {
    ASSERT_TRUE(start());
    EXPECT_FALSE(start());
    EXPECT_FALSE(run.listPlatforms(generator(kGpuGenerator)));
    EXPECT_EQ(child.requests.size(), 1u);
    EXPECT_EQ(run.mode(), RunMode::Search);
}

TEST_F(SearchRunTest, ProgressBoxTakesEachNewLineButNoErrorLine) {
    child.output = "Difficulty: 77178\n\r[944.12 Kkey/s][total 713472][Prob 0.0%]";
    ASSERT_TRUE(start());
    view.progress = "previous run";
    run.pass(false);
    EXPECT_EQ(view.progress, "[944.12 Kkey/s]  [total 713472]  [Prob 0.0%]  ");
    child.appendOutput("\r[1.5 Mkey/s][total 9][Prob 1.0%]");
    run.pass(false);
    EXPECT_EQ(view.progress, "[1.5 Mkey/s]  [total 9]  [Prob 1.0%]  ");
    child.appendOutput("\r[2.0 Mkey/s][error reading]");
    run.pass(false);
    EXPECT_EQ(view.progress, "[1.5 Mkey/s]  [total 9]  [Prob 1.0%]  ") << "error line skipped";
}

TEST_F(SearchRunTest, EmptyLogKeepsThePreviousRunsProgress) {
    view.progress = "[old key/s]  ";
    ASSERT_TRUE(start());
    run.pass(false);
    EXPECT_EQ(view.progress, "[old key/s]  ");
}

TEST_F(SearchRunTest, ElapsedTimeCountsFromTheRunStart) {
    ASSERT_TRUE(start());
    clock.advance(25h + 5s + 999ms);
    run.pass(false);
    EXPECT_EQ(view.elapsed, "01h:00m:05s");
}

TEST_F(SearchRunTest, PassOrderProgressFoundKeysElapsedOverheating) {
    std::vector<std::string> events;
    view.events = &events;
    child.output = "[1 key/s]";
    hooks.checkFoundKeys = [&] {
        events.push_back("found keys");
        return true;
    };
    hooks.newKeysFound = [&] { events.push_back("refresh and save"); };
    hooks.avoidOverheating = [&] {
        events.push_back("overheating");
        return false;
    };
    run.setHooks(hooks);
    ASSERT_TRUE(start());
    run.pass(false);
    EXPECT_EQ(events, (std::vector<std::string>{"progress", "found keys", "refresh and save",
                                                "elapsed", "overheating"}));
}

TEST_F(SearchRunTest, OverheatingPausesAfterThirtyMinutesAndResumes) {
    bool avoid = true;
    int pauseTimerStarts = 0;
    hooks.avoidOverheating = [&] { return avoid; };
    hooks.heatPauseStarted = [&] { ++pauseTimerStarts; };
    run.setHooks(hooks);
    ASSERT_TRUE(start());
    const auto firstStart = run.runStartTime();
    clock.advance(1799s);
    run.pass(false);
    EXPECT_EQ(child.kills, 0);
    clock.advance(1s);
    run.pass(false);
    EXPECT_TRUE(run.pausedForHeat());
    EXPECT_EQ(run.pauseStart(), clock.now());
    EXPECT_EQ(child.kills, 1);
    EXPECT_EQ(pauseTimerStarts, 1);
    EXPECT_FALSE(run.searchRunning());
    EXPECT_FALSE(view.startShown) << "Stop stays shown";

    clock.advance(1s);
    run.pass(true); // the final pass renews the pause start
    EXPECT_EQ(pauseTimerStarts, 2);
    EXPECT_EQ(run.pauseStart(), clock.now());
    EXPECT_EQ(closing(), (ConsolePiece{"[PAUSE] Search paused for avoid CPU or GPU overheating."
                                       "\nThe search will resume shortly.",
                                       ConsoleStyle::Heading, true}));
    EXPECT_FALSE(view.startShown);
    EXPECT_FALSE(view.newRunAllowed) << "no listing while the pause waits";
    EXPECT_FALSE(run.listPlatforms(generator(kGpuGenerator)));
    EXPECT_FALSE(start()) << "only the resume may start now";

    // The pause timer's end: a resume keeps the console and the first start time.
    avoid = false;
    clock.advance(600s);
    run.beginResume();
    const std::size_t before = console.pieces.size();
    ASSERT_TRUE(start());
    EXPECT_EQ(console.clears, 1) << "only the first start cleared the console";
    ASSERT_EQ(console.pieces.size(), before + 1);
    EXPECT_EQ(console.last(),
              (ConsolePiece{"\nResuming search process.", ConsoleStyle::Heading, true}));
    EXPECT_EQ(run.runStartTime(), firstStart);
    EXPECT_FALSE(run.pausedForHeat());
    run.pass(false);
    EXPECT_EQ(view.elapsed, "00h:40m:01s") << "pause included";
    child.end();
    run.pass(true);
    EXPECT_EQ(closing().text, "Search completed");
    EXPECT_FALSE(run.resuming());
    EXPECT_TRUE(view.startShown);
}

TEST_F(SearchRunTest, OptionTurnedOnLateInterruptsAtTheNextPass) {
    bool avoid = false;
    hooks.avoidOverheating = [&] { return avoid; };
    run.setHooks(hooks);
    ASSERT_TRUE(start());
    clock.advance(2h);
    run.pass(false);
    EXPECT_FALSE(run.pausedForHeat());
    avoid = true;
    run.pass(false);
    EXPECT_TRUE(run.pausedForHeat());
}

TEST_F(SearchRunTest, StopDuringThePauseEndsIt) {
    hooks.avoidOverheating = [] { return true; };
    run.setHooks(hooks);
    ASSERT_TRUE(start());
    clock.advance(1800s);
    run.pass(false);
    run.pass(true);
    ASSERT_TRUE(run.pauseWaiting());
    const int kills = child.kills;
    run.beginResume();
    run.stop();
    EXPECT_EQ(child.kills, kills) << "no child to end";
    EXPECT_TRUE(view.startShown);
    EXPECT_TRUE(view.newRunAllowed);
    EXPECT_FALSE(run.resuming());
    EXPECT_TRUE(start());
}

TEST_F(SearchRunTest, StopBeforeThePausedChildEndsCancelsAndStartsNoPause) {
    int pauseTimerStarts = 0;
    hooks.avoidOverheating = [] { return true; };
    hooks.heatPauseStarted = [&] { ++pauseTimerStarts; };
    run.setHooks(hooks);
    ASSERT_TRUE(start());
    clock.advance(1800s);
    run.pass(false);
    ASSERT_EQ(pauseTimerStarts, 1);
    run.stop(); // the form stops the pause timer here
    run.pass(true);
    EXPECT_EQ(pauseTimerStarts, 1) << "a restarted pause timer would resume a stopped search";
    EXPECT_EQ(closing().text, "Search canceled by user");
    EXPECT_TRUE(view.startShown);
    EXPECT_TRUE(view.newRunAllowed);
    EXPECT_FALSE(run.pauseWaiting());
}

TEST_F(SearchRunTest, ResumeWhoseChildCannotStartKeepsStopShown) {
    hooks.avoidOverheating = [] { return true; };
    run.setHooks(hooks);
    ASSERT_TRUE(start());
    clock.advance(1800s);
    run.pass(false);
    run.pass(true);
    child.startSucceeds = false;
    run.beginResume();
    ASSERT_TRUE(start());
    EXPECT_EQ(closing().text, "[ERROR]\nThe external .exe program could not be started.");
    EXPECT_FALSE(view.startShown);
    EXPECT_FALSE(run.resuming());
    run.stop();
    EXPECT_TRUE(view.startShown);
    EXPECT_TRUE(view.newRunAllowed);
}

TEST_F(SearchRunTest, NewSearchHookRunsAfterTheBannerOnlyOnAFreshSearch) {
    std::vector<std::string> events;
    console.events = &events;
    hooks.avoidOverheating = [] { return true; };
    hooks.newSearchStarted = [&] { events.push_back("lamp"); };
    run.setHooks(hooks);
    ASSERT_TRUE(start());
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.back(), "lamp");
    EXPECT_EQ(events[events.size() - 2], "console");
    clock.advance(1800s);
    run.pass(false);
    run.pass(true);
    run.beginResume();
    events.clear();
    ASSERT_TRUE(start());
    EXPECT_EQ(events, (std::vector<std::string>{"console"})) << "a resume leaves the lamp";
}

} // namespace
} // namespace tarwick
