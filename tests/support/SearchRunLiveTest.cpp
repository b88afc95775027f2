// The search run with the real process adapter, the real clock and the scripted generator.
#include "../core/search/SearchRunFakes.h"
#include "ChildProcessTestSupport.h"
#include "core/search/SearchRun.h"
#include "platform/QtChildProcess.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace tarwick {
namespace {

using testing::GeneratorFolder;
using testing::WaitUntil;

class SteadyClock : public Clock {
public:
    std::chrono::steady_clock::time_point now() const override {
        return std::chrono::steady_clock::now();
    }
};

// Drives the run as the form does: a 1000 ms timer and the child's end signal.
class TimerView : public testing::FakeView {
public:
    explicit TimerView(SearchRun*& run) : run_(run) {
        timer_.setInterval(1000);
        QObject::connect(&timer_, &QTimer::timeout, [this] { run_->pass(false); });
    }
    void setPassTimerActive(bool active) override {
        FakeView::setPassTimerActive(active);
        active ? timer_.start() : timer_.stop();
    }

private:
    SearchRun*& run_;
    QTimer timer_;
};

class SearchRunLive : public ::testing::Test {
protected:
    SearchRunLive() {
        QObject::connect(&child, &QtChildProcess::ended, [this] { run.pass(true); });
    }
    GeneratorOptions options(std::string_view app) const {
        GeneratorOptions o;
        o.externalApp = app;
        o.rewardAddress = "1Reward";
        o.poolUrl = "http://127.0.0.1:9/";
        return o;
    }
    bool runToEnd(int milliseconds = 15000) {
        return WaitUntil([&] { return !run.active(); }, milliseconds);
    }

    GeneratorFolder dir;
    QtChildProcess child;
    SteadyClock clock;
    testing::FakeConsole console;
    SearchRun* self = &run;
    TimerView view{self};
    SearchRun run{child, clock, console, view, dir.path()};
};

TEST_F(SearchRunLive, SearchShowsProgressAndCompletes) {
    dir.script("status 6 400\nfound 1Abc 1AbcAddress 5Key\nexit 0\n");
    ASSERT_TRUE(run.startSearch(options(kCpuGenerator), 1));
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(console.last().text, "Search completed");
    EXPECT_TRUE(view.progress.starts_with("[949.12 Kkey/s]  [total 4280832]  ")) << view.progress;
    EXPECT_EQ(view.elapsed.substr(0, 8), "00h:00m:");
    EXPECT_TRUE(view.startShown);
    EXPECT_FALSE(view.passTimerActive);
    EXPECT_EQ(testing::ReadBytes(dir / "results.txt"),
              "Pattern: 1Abc\nAddress: 1AbcAddress\nPrivkey: 5Key\n");
}

TEST_F(SearchRunLive, KeyTheGeneratorCouldNotWriteIsKeptInItsLog) {
    dir.script("say Privkey: 5Key\\n\nexit 4\n");
    ASSERT_TRUE(run.startSearch(options(kCpuGenerator), 1));
    ASSERT_TRUE(runToEnd());
    EXPECT_FALSE(std::filesystem::exists(dir / "stdout.log"));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename().string().starts_with("stdout-")) {
            EXPECT_EQ(testing::ReadBytes(entry.path()), "Privkey: 5Key\n");
        }
    }
    EXPECT_TRUE(console.last().text.starts_with("[ERROR] The generator found a key but could not "
                                                "write it to results.txt. The key is in 'stdout-"))
        << console.last().text;
}

TEST_F(SearchRunLive, GpuGeneratorErrorIsShownWhole) {
    dir.script("fail\n");
    ASSERT_TRUE(run.startSearch(options(kGpuGenerator), 1));
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(console.last().text,
              "[ERROR]\nCould not open OpenCL device: error -1001 (no platform)\n");
    EXPECT_EQ(console.last().style, ConsoleStyle::Error);
}

TEST_F(SearchRunLive, ListingShowsWhatTheGeneratorPrinted) {
    ASSERT_TRUE(run.listPlatforms(options(kCpuGenerator)));
    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(console.pieces.size(), 1u);
    EXPECT_EQ(console.last().text, "Difficulty: 77178\n"
                                   "Could not open device '99:99', ignoring\n"
                                   "Available OpenCL platforms:\n"
                                   "0: [Tarwick test] Scripted platform\n"
                                   "  0: [Tarwick test] Scripted device\n");
}

TEST_F(SearchRunLive, MissingGeneratorCannotStart) {
    std::filesystem::remove(dir / "vanitygen" / "vanitygen64.exe");
    ASSERT_TRUE(run.startSearch(options(kCpuGenerator), 1));
    EXPECT_FALSE(run.active());
    EXPECT_EQ(console.last().text, "[ERROR]\nThe external .exe program could not be started.");
}

TEST_F(SearchRunLive, StopCancelsARunningSearch) {
    dir.script("status forever 200\n");
    ASSERT_TRUE(run.startSearch(options(kCpuGenerator), 1));
    ASSERT_TRUE(WaitUntil([&] { return run.passCount() >= 1; }));
    run.stop();
    EXPECT_TRUE(view.startShown);
    ASSERT_TRUE(runToEnd(5000));
    EXPECT_EQ(console.last().text, "Search canceled by user");
    EXPECT_FALSE(child.running());
}

} // namespace
} // namespace tarwick
