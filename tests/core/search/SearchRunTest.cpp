#include "core/search/SearchRun.h"

#include "core/search/ClosingMessage.h"
#include "found/RecordingConsole.h"
#include "search/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarwick {
namespace {

using namespace std::chrono_literals;
using testing::ConsolePiece;
using testing::readBytes;
using testing::writeBytes;

struct FakeClock : Clock {
    std::chrono::steady_clock::time_point now() const override { return time; }
    void advance(std::chrono::milliseconds by) { time += by; }
    std::chrono::steady_clock::time_point time{std::chrono::hours(1000)};
};

// A child whose start result and output a test chooses. Like the real adapter it creates the
// output log on a successful start; kill() ends it, seen by the next pass.
struct FakeChild : ChildProcess {
    bool start(const ChildStart& r) override {
        requests.push_back(r);
        filesAtStart = readBytes(r.outputLog) + readBytes(r.workingDirectory / "results.txt");
        if (startSucceeds && output) {
            writeBytes(r.outputLog, *output);
        } else if (startSucceeds) {
            std::filesystem::remove(r.outputLog); // as when no log could be made
        }
        return running_ = startSucceeds;
    }
    bool running() const override { return running_; }
    std::optional<int> exitCode() const override { return running_ ? std::nullopt : exitCodeAtEnd; }
    void kill() override {
        ++kills;
        running_ = false;
    }
    void end() { running_ = false; }

    bool startSucceeds = true;
    std::optional<int> exitCodeAtEnd;                  // nothing: killed
    std::optional<std::string> output = std::string(); // nullopt: there is no log
    std::vector<ChildStart> requests;
    std::string filesAtStart; // what the log and results.txt held when the child was started
    int kills = 0;
    bool running_ = false;
};

// Keeps what the form was told; the progress and elapsed texts also go to the event list.
struct FakeView : SearchRunView {
    void showStartButton(bool shown) override { startShown = shown; }
    void setNewRunAllowed(bool allowed) override { newRunAllowed = allowed; }
    void setPassTimerActive(bool active) override { passTimerActive = active; }
    void setProgressText(std::string_view text) override { events.push_back(progress = text); }
    void setElapsedText(std::string_view text) override { events.push_back(elapsed = text); }

    bool startShown = true, newRunAllowed = true, passTimerActive = false;
    std::string progress, elapsed;
    std::vector<std::string> events;
};

struct SearchRunTest : ::testing::Test {
    void SetUp() override { console.append("earlier text", ConsoleStyle::Plain, true); }

    static GeneratorOptions generator(std::string_view app) {
        GeneratorOptions o;
        o.externalApp = app;
        return o;
    }
    bool start(std::string_view app = kCpuGenerator) { return run.startSearch(generator(app), 3); }
    bool list() { return run.listPlatforms({}); }
    void expectIdle() const {
        EXPECT_TRUE(view.startShown && view.newRunAllowed && !view.passTimerActive);
    }
    void useHooks() {
        hooks.avoidOverheating = [this] { return avoid; };
        hooks.heatPauseStarted = [this] { ++pauseTimerStarts; };
        run.setHooks(hooks);
    }

    testing::TempFolder dir;
    FakeChild child;
    FakeClock clock;
    testing::RecordingConsole console;
    FakeView view;
    SearchRunHooks hooks;
    bool avoid = true;
    int pauseTimerStarts = 0;
    SearchRun run{child, clock, console, view, dir.path()};
};

TEST_F(SearchRunTest, StartsTheGeneratorWithFreshFiles) {
    writeBytes(dir / "stdout.log", "[old key/s]");
    writeBytes(dir / "results.txt", "Pattern: 1A\n");
    ASSERT_TRUE(start());
    EXPECT_GE(child.requests.at(0).outputFile, 0);
    EXPECT_EQ(child.filesAtStart, "") << "the output of an earlier run is gone";
}

TEST_F(SearchRunTest, ChildThatCannotStartEndsTheRunAtOnceAndTellsWhyInRed) {
    std::filesystem::create_directories(dir / "stdout.log" / "inside");
    child.startSucceeds = false;
    ASSERT_TRUE(start());
    EXPECT_EQ(child.requests[0].outputFile, -1) << "no log: the output is discarded";
    ASSERT_EQ(console.pieces.size(), 3u) << "no clearing and no banner";
    EXPECT_TRUE(console.saysInRed("stdout.log could not be written"));
    run.pass(true);
    EXPECT_EQ(console.pieces.size(), 3u) << "no pass after the end";
}

TEST_F(SearchRunTest, KeyNotWrittenByTheGeneratorKeepsTheLogWithTheKey) {
    child.output = "Privkey: 5Kkey\n";
    for (const int code : {0, kExitKeyNotWritten}) {
        child.exitCodeAtEnd = code;
        ASSERT_TRUE(start());
        child.end();
        run.pass(true);
    }
    const auto isKept = [](const auto& e) {
        return e.path().filename().string().starts_with("stdout-");
    };
    ASSERT_EQ(std::count_if(std::filesystem::directory_iterator(dir.path()), {}, isKept), 1);
    const auto kept =
        std::find_if(std::filesystem::directory_iterator(dir.path()), {}, isKept)->path();
    EXPECT_EQ(readBytes(kept), "Privkey: 5Kkey\n");
    EXPECT_EQ(testing::modeOf(kept), 0600u);
    EXPECT_TRUE(console.saysInRed("The key is in '" + kept.filename().string() + "'"));
}

TEST_F(SearchRunTest, FolderOthersCanWriteToOrOwnIsRefused) {
    std::filesystem::create_directories(dir / "vanitygen");
    const bool root = ::geteuid() == 0; // only root can give a folder away
    for (const auto& [folder, mode, owner] : {std::tuple{".", 0775, ::geteuid()},
                                              {"vanitygen", 0757, ::geteuid()},
                                              {"vanitygen", root ? 0755 : 0775, 65534u}}) {
        ::chmod((dir / folder).c_str(), mode);
        ::chown((dir / folder).c_str(), owner, owner);
        EXPECT_FALSE(start() || list()) << folder << " " << mode;
        EXPECT_TRUE(console.saysInRed("The search was not started"));
        ::chmod((dir / folder).c_str(), 0755);
        ::chown((dir / folder).c_str(), ::geteuid(), ::getegid());
    }
    EXPECT_TRUE(child.requests.empty());
    EXPECT_TRUE(start());
}

TEST_F(SearchRunTest, EndOfTheChildClosesTheRunOnce) {
    const ConsolePiece completed{"Search completed", ConsoleStyle::Completed};
    const ConsolePiece failed{"[ERROR] The search could not be started.", ConsoleStyle::Error};
    // A timer pass that finds the child gone closes the run like the end signal.
    for (const auto& [app, log, timerPasses, endSignal, closing] :
         {std::tuple{kGpuGenerator, std::optional<std::string>(), 0u, true, failed},
          {kCpuGenerator, "", 1u, true, completed},
          {kCpuGenerator, "", 1u, false, completed}}) {
        child.output = log;
        ASSERT_TRUE(start(app));
        for (unsigned pass = 0; pass < timerPasses; ++pass) {
            run.pass(false);
        }
        child.end();
        run.pass(endSignal);
        run.pass(true); // late signals are ignored
        run.pass(false);
        EXPECT_EQ(console.last(), closing);
        expectIdle();
    }
}

TEST_F(SearchRunTest, PassOrderProgressFoundKeysElapsedOverheating) {
    child.output = "Difficulty: 77178\n\r[944.12 Kkey/s][total 713472][Prob 0.0%]";
    hooks.checkFoundKeys = [&] { return view.events.emplace_back("found keys"), true; };
    hooks.newKeysFound = [&] { view.events.push_back("refresh and save"); };
    hooks.avoidOverheating = [&] { return view.events.emplace_back("overheating"), false; };
    run.setHooks(hooks);
    ASSERT_TRUE(start());
    run.pass(false);
    EXPECT_EQ(view.events, (std::vector<std::string>{
                               "[944.12 Kkey/s]  [total 713472]  [Prob 0.0%]  ", "found keys",
                               "refresh and save", "00h:00m:00s", "overheating"}));
    // A line that is empty or tells an error leaves the progress box as it was.
    for (const char* log : {"", "\r[2.0 Mkey/s][error reading]"}) {
        writeBytes(dir / "stdout.log", log);
        run.pass(false);
        EXPECT_EQ(view.progress, "[944.12 Kkey/s]  [total 713472]  [Prob 0.0%]  ") << log;
    }
}

TEST_F(SearchRunTest, OverheatingPausesAfterThirtyMinutesAndResumes) {
    int lamps = 0;
    hooks.newSearchStarted = [&] { ++lamps; };
    useHooks();
    ASSERT_TRUE(start());
    clock.advance(kRunTimeBeforePause - 1s);
    run.pass(false);
    avoid = false; // read on every pass
    clock.advance(1s);
    run.pass(false);
    EXPECT_EQ(child.kills, 0);
    avoid = true;
    run.pass(false);
    EXPECT_EQ(child.kills, 1);
    EXPECT_FALSE(view.startShown) << "Stop stays shown";
    clock.advance(1s);
    run.pass(true); // the final pass renews the pause start
    EXPECT_EQ(pauseTimerStarts, 2);
    EXPECT_TRUE(console.last().text.starts_with("[PAUSE] Search paused"));
    EXPECT_FALSE(view.startShown || view.newRunAllowed);
    EXPECT_FALSE(list() || start()) << "only the resume may start now";

    // The pause timer's end: a resume keeps the console and the first start time.
    avoid = false;
    clock.advance(600s);
    run.beginResume();
    ASSERT_TRUE(start());
    EXPECT_EQ(console.clears, 1) << "only the first start cleared the console";
    EXPECT_EQ(console.last(), (ConsolePiece{"\nResuming search process.", ConsoleStyle::Heading}));
    run.pass(false);
    EXPECT_EQ(view.elapsed, "00h:40m:01s") << "counted from the first start, pause included";
    child.end();
    run.pass(true);
    EXPECT_EQ(console.last().text, "Search completed");
    expectIdle();
    EXPECT_EQ(lamps, 1) << "a resume leaves the lamp alone";
}

// Stop ends a pause whether the paused child is still ending or the resume could not start it.
TEST_F(SearchRunTest, StopEndsThePauseForGood) {
    useHooks();
    ASSERT_TRUE(start());
    clock.advance(kRunTimeBeforePause);
    run.pass(false);
    run.stop(); // the form stops the pause timer here
    run.pass(true);
    EXPECT_EQ(pauseTimerStarts, 1) << "a restarted pause timer would resume a stopped search";
    EXPECT_EQ(console.last().text, "Search canceled by user");
    expectIdle();

    ASSERT_TRUE(start());
    clock.advance(kRunTimeBeforePause);
    run.pass(true);
    child.startSucceeds = false;
    run.beginResume();
    ASSERT_TRUE(start());
    EXPECT_EQ(console.last().text, "[ERROR]\nThe external .exe program could not be started.");
    EXPECT_FALSE(view.startShown) << "the pause still waits";
    child.kills = 0;
    run.stop();
    EXPECT_EQ(child.kills, 0) << "no child to end";
    expectIdle();
    EXPECT_FALSE(run.pauseWaiting());
}

} // namespace
} // namespace tarwick
