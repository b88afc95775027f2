#pragma once

#include "TempFolder.h"
#include "core/common/Clock.h"
#include "core/search/ChildProcess.h"
#include "core/search/SearchRunView.h"

#include <optional>
#include <string>
#include <vector>

namespace tarwick::testing {

class FakeClock : public Clock {
public:
    std::chrono::steady_clock::time_point now() const override { return now_; }
    void advance(std::chrono::milliseconds by) { now_ += by; }

private:
    std::chrono::steady_clock::time_point now_{std::chrono::hours(1000)};
};

// A child whose start result and output a test chooses. Like the real adapter it creates the
// output log on a successful start; kill() ends it, seen by the next pass.
class FakeChild : public ChildProcess {
public:
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

private:
    bool running_ = false;
};

// Keeps what the form was told; the progress and elapsed texts also go to the event list.
class FakeView : public SearchRunView {
public:
    void showStartButton(bool shown) override { startShown = shown; }
    void setNewRunAllowed(bool allowed) override { newRunAllowed = allowed; }
    void setPassTimerActive(bool active) override { passTimerActive = active; }
    void setProgressText(std::string_view text) override { events.push_back(progress = text); }
    void setElapsedText(std::string_view text) override { events.push_back(elapsed = text); }

    bool startShown = true, newRunAllowed = true, passTimerActive = false;
    std::string progress, elapsed;
    std::vector<std::string> events;
};

} // namespace tarwick::testing
