#pragma once

#include "TempFolder.h"
#include "core/common/Clock.h"
#include "core/common/ConsoleSink.h"
#include "core/search/ChildProcess.h"
#include "core/search/SearchRunView.h"

#include <functional>
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
    bool start(const ChildStart& request) override {
        requests.push_back(request);
        logAtStart = std::filesystem::is_regular_file(request.outputLog)
                         ? ReadBytes(request.outputLog)
                         : "(not a file)";
        resultsAtStart = ReadBytes(request.workingDirectory / "results.txt");
        if (!startSucceeds) {
            return false;
        }
        if (output) {
            WriteBytes(request.outputLog, *output);
        } else {
            std::filesystem::remove(request.outputLog); // as when no log could be made
        }
        running_ = true;
        return true;
    }
    bool running() const override { return running_; }
    std::optional<int> exitCode() const override { return running_ ? std::nullopt : exitCodeAtEnd; }
    void kill() override {
        ++kills;
        running_ = false;
    }

    void end() { running_ = false; }
    void appendOutput(std::string_view text) {
        const auto log = requests.back().outputLog;
        WriteBytes(log, ReadBytes(log) + std::string(text));
    }

    bool startSucceeds = true;
    std::optional<int> exitCodeAtEnd;                  // nothing: killed
    std::optional<std::string> output = std::string(); // nullopt: there is no log
    std::vector<ChildStart> requests;
    std::string logAtStart; // what the files held when the child was started
    std::string resultsAtStart;
    int kills = 0;

private:
    bool running_ = false;
};

struct ConsolePiece {
    std::string text;
    ConsoleStyle style;
    bool lineBreak;
    friend bool operator==(const ConsolePiece&, const ConsolePiece&) = default;
};

class FakeConsole : public ConsoleSink {
public:
    void append(std::string_view text, ConsoleStyle style, bool lineBreak) override {
        pieces.push_back({std::string(text), style, lineBreak});
        if (events) {
            events->push_back("console");
        }
    }
    void clear() override {
        pieces.clear();
        ++clears;
    }
    const ConsolePiece& last() const { return pieces.back(); }

    std::vector<ConsolePiece> pieces;
    int clears = 0;
    std::vector<std::string>* events = nullptr;
};

class FakeView : public SearchRunView {
public:
    void showStartButton(bool shown) override { startShown = shown; }
    void setNewRunAllowed(bool allowed) override { newRunAllowed = allowed; }
    void setPassTimerActive(bool active) override { passTimerActive = active; }
    void setProgressText(std::string_view text) override {
        progress = text;
        note("progress");
    }
    void setElapsedText(std::string_view text) override {
        elapsed = text;
        note("elapsed");
    }

    bool startShown = true;
    bool newRunAllowed = true;
    bool passTimerActive = false;
    std::string progress;
    std::string elapsed;
    std::vector<std::string>* events = nullptr;

private:
    void note(const char* what) {
        if (events) {
            events->push_back(what);
        }
    }
};

} // namespace tarwick::testing
