#include "core/search/SearchRun.h"

#include "core/files/RunFolder.h"
#include "core/found/PrivateFile.h"
#include "core/output/ProgressLine.h"
#include "core/search/ClosingMessage.h"
#include "core/search/ElapsedTime.h"
#include "core/search/GeneratorNames.h"
#include "core/search/ReadWholeFile.h"

#include <optional>
#include <string>
#include <system_error>

namespace tarwick {

SearchRun::SearchRun(ChildProcess& child, const Clock& clock, ConsoleSink& console,
                     SearchRunView& view, std::filesystem::path workDir)
    : child_(child), clock_(clock), console_(console), view_(view), workDir_(std::move(workDir)) {}

const SearchedPatterns* SearchRun::searchedPatterns() const {
    // A results.txt left by an earlier start of the program is checked against its own run.
    SearchedPatterns earlier;
    if (!searched_ && parseRunPatternsFile(ReadWholeFile(workDir_ / kRunPatternsFile), earlier)) {
        searched_ = std::move(earlier);
    }
    return searched_ ? &*searched_ : nullptr;
}

std::filesystem::path SearchRun::outputLogPath() const {
    return workDir_ / kOutputLog;
}

std::filesystem::path SearchRun::resultsPath() const {
    return workDir_ / kResultsFile;
}

bool SearchRun::startSearch(const GeneratorOptions& options, int patternCount,
                            const SearchedPatterns& searched) {
    // A resume comes while the pause waits; anything else needs the way clear.
    if (active_ || (pauseWaiting_ && !resuming_) || !foldersSafe()) {
        return false;
    }
    patternCount_ = patternCount;
    if (!resuming_) {
        runStartTime_ = clock_.now();
    }
    run(RunMode::Search, options, searched);
    return true;
}

bool SearchRun::listPlatforms(const GeneratorOptions& options) {
    if (!newRunAllowed() || !foldersSafe()) {
        return false;
    }
    run(RunMode::ListPlatforms, options, {});
    return true;
}

bool SearchRun::foldersSafe() {
    // Whoever can write to these folders could swap the generator or plant links to steal keys.
    const std::filesystem::path generators = workDir_ / "vanitygen";
    std::error_code error;
    for (const auto& folder : {workDir_, generators}) {
        if (folder == generators && !std::filesystem::exists(folder, error)) {
            continue; // told as a missing generator by the start
        }
        if (const auto why = unsafeFolderReason(folder)) {
            console_.append("[ERROR] The search was not started: " + *why +
                                ". Only your account may write to the working folder and its "
                                "vanitygen folder.",
                            ConsoleStyle::Error, true);
            return false;
        }
    }
    return true;
}

bool SearchRun::prepareRunFiles(RunFolder& folder, const SearchedPatterns& searched,
                                std::vector<std::string>& notes) {
    // Output of an earlier run must not pass for this one's, unless it holds a key to keep.
    const std::string whyKeep = hooks_.whyKeepResults ? hooks_.whyKeepResults() : std::string();
    std::error_code error;
    if (!whyKeep.empty() &&
        std::filesystem::exists(std::filesystem::symlink_status(resultsPath(), error))) {
        const auto kept = folder.keep(kResultsFile, "results", ".txt");
        if (!kept) {
            console_.append("[ERROR] results.txt " + whyKeep +
                                " and could not be renamed, so the search was not started.",
                            ConsoleStyle::Error, true);
            return false;
        }
        notes.push_back("results.txt " + whyKeep + ", so it is kept as '" + *kept +
                        "' in the working folder.");
    } else {
        folder.remove(kResultsFile);
    }
    folder.remove(kOutputLog);
    // The generator appends to a file this program made, never to one planted for it.
    std::string why;
    if (!folder.createPrivate(kResultsFile, why).valid()) {
        console_.append("[ERROR] results.txt could not be created in the working folder (" + why +
                            "), so the search was not started.",
                        ConsoleStyle::Error, true);
        return false;
    }
    searched_ = searched;
    if (!writePrivateFile(workDir_ / kRunPatternsFile, runPatternsFileText(searched)).ok()) {
        notes.push_back("[ERROR] The patterns of this run could not be written to '" +
                        std::string(kRunPatternsFile) +
                        "': keys it leaves in results.txt cannot be checked after the program "
                        "closes, and are then kept but not stored.");
    }
    return true;
}

void SearchRun::run(RunMode mode, const GeneratorOptions& options,
                    const SearchedPatterns& searched) {
    mode_ = mode;
    searchRunning_ = true;
    view_.showStartButton(false);
    view_.setNewRunAllowed(false);

    command_ = buildGeneratorCommand(options, mode);
    foundAny_ = false;
    std::vector<std::string> notes; // told after the banner, which clears the console
    RunFolder folder(workDir_);
    processStarted_ = prepareRunFiles(folder, searched, notes);
    if (processStarted_) {
        std::string why;
        const OwnedFile log = folder.createPrivate(kOutputLog, why);
        if (!log.valid()) {
            notes.push_back("[ERROR] stdout.log could not be written (" + why +
                            "), so the progress of the search cannot be shown.");
        }
        processStarted_ = child_.start(
            {command_.executable, command_.arguments, workDir_, outputLogPath(), log.descriptor()});
    }
    const auto tellNotes = [&] {
        for (const std::string& note : notes) {
            console_.append(note, ConsoleStyle::Error, true);
        }
    };
    if (!processStarted_) {
        tellNotes();
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
    tellNotes();

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
        view_.setElapsedText(formatElapsed(elapsed));
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
    if (processStarted_ && endedInFirstWait(ending) &&
        std::filesystem::exists(outputLogPath(), error)) {
        log = ReadWholeFile(outputLogPath());
    }
    const ClosingMessage message = chooseClosingMessage(ending, log);
    console_.append(message.text, message.style, true);
    keepKeyInLog();

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

void SearchRun::keepKeyInLog() {
    if (mode_ != RunMode::Search || !processStarted_ || child_.exitCode() != kExitKeyNotWritten) {
        return;
    }
    // The next start would delete the only copy of the key.
    const auto kept = RunFolder(workDir_).keep(kOutputLog, "stdout", ".log");
    console_.append(kept ? "[ERROR] The generator found a key but could not write it to "
                           "results.txt. The key is in '" +
                               *kept + "' in the working folder."
                         : "[ERROR] The generator found a key but could not write it to "
                           "results.txt, and its output could not be kept: the key is lost.",
                    ConsoleStyle::Error, true);
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
