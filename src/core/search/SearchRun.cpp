#include "core/search/SearchRun.h"

#include "core/output/ProgressLine.h"
#include "core/search/ClosingMessage.h"
#include "core/search/ElapsedTime.h"
#include "core/search/ReadWholeFile.h"

#include <optional>
#include <string>
#include <system_error>

namespace tarwick {

SearchRun::SearchRun(ChildProcess& child, const Clock& clock, ConsoleSink& console,
                     SearchRunView& view, std::filesystem::path workDir)
    : child_(child), clock_(clock), console_(console), view_(view), workDir_(std::move(workDir)) {}

std::filesystem::path SearchRun::outputLogPath() const {
    return workDir_ / kOutputLog;
}

std::filesystem::path SearchRun::resultsPath() const {
    return workDir_ / kResultsFile;
}

bool SearchRun::startSearch(const GeneratorOptions& options, int patternCount) {
    // A resume comes while the pause waits; anything else needs the way clear.
    if (active_ || (pauseWaiting_ && !resuming_)) {
        return false;
    }
    patternCount_ = patternCount;
    if (!resuming_) {
        runStartTime_ = clock_.now();
    }
    run(RunMode::Search, options);
    return true;
}

bool SearchRun::listPlatforms(const GeneratorOptions& options) {
    if (!newRunAllowed()) {
        return false;
    }
    run(RunMode::ListPlatforms, options);
    return true;
}

void SearchRun::run(RunMode mode, const GeneratorOptions& options) {
    mode_ = mode;
    searchRunning_ = true;
    view_.showStartButton(false);
    view_.setNewRunAllowed(false);

    // Output of an earlier run must not pass for this one's; failures are ignored.
    std::error_code ignored;
    std::filesystem::remove(outputLogPath(), ignored);
    std::filesystem::remove(resultsPath(), ignored);

    command_ = BuildGeneratorCommand(options, mode);
    foundAny_ = false;
    processStarted_ =
        child_.start({command_.executable, command_.arguments, workDir_, outputLogPath()});
    if (!processStarted_) {
        finish();
        return;
    }

    if (!resuming_) {
        console_.clear();
        if (mode == RunMode::Search) {
            writeBanner();
            if (hooks_.newSearchStarted) {
                hooks_.newSearchStarted();
            }
        }
    } else {
        console_.append("\nResuming search process.", ConsoleStyle::Heading, true);
    }

    cancelRequested_ = false;
    pausedForHeat_ = false;
    pauseWaiting_ = false;
    loopStart_ = clock_.now();
    passCount_ = 0;
    ended_ = false;
    active_ = true;
    view_.setPassTimerActive(true);
}

void SearchRun::writeBanner() {
    console_.append("************", ConsoleStyle::Heading, true);
    console_.append("Search started", ConsoleStyle::Heading, true);
    console_.append("************", ConsoleStyle::Heading, true);
    console_.append("Process: ", ConsoleStyle::Label, false);
    console_.append(command_.generatorName, ConsoleStyle::Plain, true);
    if (command_.generatorName != kPoolMiner) {
        console_.append("Patterns to search: ", ConsoleStyle::Label, false);
        console_.append(std::to_string(patternCount_), ConsoleStyle::Plain, true);
    }
    console_.append("-----------------------------------------", ConsoleStyle::Plain, true);
}

void SearchRun::pass(bool childEnded) {
    if (!active_) {
        return; // a late timer tick or end signal of a run already closed
    }
    showProgress();
    if (hooks_.checkFoundKeys && hooks_.checkFoundKeys()) {
        foundAny_ = true;
        if (hooks_.newKeysFound) {
            hooks_.newKeysFound();
        }
    }
    if (childEnded || !child_.running()) {
        ended_ = true;
    }
    if (mode_ == RunMode::Search) {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::seconds>(clock_.now() - runStartTime_);
        view_.setElapsedText(FormatElapsed(elapsed));
    }
    ++passCount_;
    checkOverheating();
    if (ended_) {
        finish();
    }
}

void SearchRun::showProgress() {
    const std::string line = ReadProgressLine(outputLogPath());
    if (!line.empty() && line.find("error ") == std::string::npos) {
        view_.setProgressText(line);
    }
}

void SearchRun::checkOverheating() {
    // Once the user has stopped the run, no pause may start: it would resume the search later.
    if (cancelRequested_ || !hooks_.avoidOverheating || !hooks_.avoidOverheating()) {
        return;
    }
    const auto now = clock_.now();
    if (now - loopStart_ < kRunTimeBeforePause) {
        return;
    }
    pausedForHeat_ = true;
    pauseStart_ = now;
    if (hooks_.heatPauseStarted) {
        hooks_.heatPauseStarted();
    }
    child_.kill();
    searchRunning_ = false;
}

void SearchRun::finish() {
    active_ = false;
    const RunEnding ending{
        processStarted_, cancelRequested_,      pausedForHeat_, passCount_, foundAny_,
        mode_,           command_.generatorName};
    std::optional<std::string> log;
    std::error_code error;
    if (processStarted_ && EndedInFirstWait(ending) &&
        std::filesystem::exists(outputLogPath(), error)) {
        log = ReadWholeFile(outputLogPath());
    }
    const ClosingMessage message = ChooseClosingMessage(ending, log);
    console_.append(message.text, message.style, true);

    searchRunning_ = false;
    resuming_ = false;
    // A run that never started leaves an earlier pause waiting as it was.
    if (processStarted_) {
        pauseWaiting_ = pausedForHeat_ && !cancelRequested_;
    }
    if (!pauseWaiting_) {
        view_.showStartButton(true);
    }
    view_.setPassTimerActive(false);
    view_.setNewRunAllowed(!pauseWaiting_);
}

void SearchRun::stop() {
    if (active_) {
        child_.kill();
        searchRunning_ = false;
        cancelRequested_ = true;
    } else {
        pauseWaiting_ = false; // a pause ended by hand: the search does not resume
    }
    view_.showStartButton(!searchRunning_);
    resuming_ = false;
    view_.setNewRunAllowed(newRunAllowed());
}

} // namespace tarwick
