#pragma once

#include "core/common/Clock.h"
#include "core/common/ConsoleSink.h"
#include "core/found/SearchedPatterns.h"
#include "core/search/ChildProcess.h"
#include "core/search/GeneratorCommand.h"
#include "core/search/SearchRunView.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarwick {

class RunFolder;

// Where later parts of the program plug into a run. Each may stay empty.
struct SearchRunHooks {
    // Reads "results.txt"; true when at least one new address went into the store.
    std::function<bool()> checkFoundKeys;
    // After new addresses: refresh the list with the newest row selected, then save everything.
    std::function<void()> newKeysFound;
    // The "Avoid overheating" option, read on every pass so a change takes effect at once.
    std::function<bool()> avoidOverheating;
    // An overheating pause began (or was renewed): (re)start the 1000 ms pause timer.
    std::function<void()> heatPauseStarted;
    // The banner of a new search is written: switch the Scroll Lock lamp off if the option is on.
    std::function<void()> newSearchStarted;
    // Why the results.txt of the last run must not be deleted (a key in it is not yet saved, or
    // failed its check), or empty. A kept file is renamed, never deleted.
    std::function<std::string()> whyKeepResults;
};

// Time a run searches before an overheating pause.
inline constexpr std::chrono::seconds kRunTimeBeforePause{1800};

// One generator run from start to closing message, driven by events instead of a blocking
// loop: the form calls pass(false) every 1000 ms while the pass timer is active and pass(true)
// as soon as the child has ended. Every pass reads the progress line, checks for found keys,
// notes the child's end, shows the elapsed time and checks the overheating limit, in that
// order; the pass that sees the child ended writes the closing message.
class SearchRun {
public:
    SearchRun(ChildProcess& child, const Clock& clock, ConsoleSink& console, SearchRunView& view,
              std::filesystem::path workDir);

    void setHooks(SearchRunHooks hooks) { hooks_ = std::move(hooks); }

    // The end of a start whose checks passed: notes the run start time (not on a resume) and
    // runs a search for the given patterns. False, doing nothing, while another run is active
    // or when the working folder is unsafe (told in red).
    bool startSearch(const GeneratorOptions& options, int patternCount,
                     const SearchedPatterns& searched = {});
    // Asks the GPU generator for the OpenCL platforms. False, doing nothing, unless
    // newRunAllowed() and the working folder is safe.
    bool listPlatforms(const GeneratorOptions& options);
    // One pass of the run; ignored when no run is active.
    void pass(bool childEnded);
    // " Stop search": ends the running child (the next pass closes the run), or ends a pause.
    void stop();
    // The pause is over: the next startSearch resumes the paused search.
    void beginResume() { resuming_ = true; }

    // No child run is active and no overheating pause is waiting to resume.
    bool newRunAllowed() const { return !active_ && !pauseWaiting_; }
    bool active() const { return active_; }
    bool searchRunning() const { return searchRunning_; }
    bool processStarted() const { return processStarted_; }
    bool cancelRequested() const { return cancelRequested_; }
    bool pausedForHeat() const { return pausedForHeat_; }
    bool pauseWaiting() const { return pauseWaiting_; }
    bool resuming() const { return resuming_; }
    bool foundAny() const { return foundAny_; }
    int patternCount() const { return patternCount_; }
    RunMode mode() const { return mode_; }
    std::chrono::steady_clock::time_point runStartTime() const { return runStartTime_; }
    std::chrono::steady_clock::time_point pauseStart() const { return pauseStart_; }
    // The command of the current or last run.
    const GeneratorCommand& command() const { return command_; }
    // The patterns of the run whose results.txt is in the folder (this program's last run, or
    // one of an earlier start of the program, read from its file); null when unknown.
    const SearchedPatterns* searchedPatterns() const;
    std::filesystem::path outputLogPath() const;
    std::filesystem::path resultsPath() const;

private:
    bool foldersSafe();
    void run(RunMode mode, const GeneratorOptions& options, const SearchedPatterns& searched);
    // Clears the way for the run's files; false (told in red) when results.txt cannot be made.
    bool prepareRunFiles(RunFolder& folder, const SearchedPatterns& searched,
                         std::vector<std::string>& notes);
    void keepKeyInLog();
    void writeBanner();
    void checkOverheating();
    void finish();
    void showProgress();

    ChildProcess& child_;
    const Clock& clock_;
    ConsoleSink& console_;
    SearchRunView& view_;
    std::filesystem::path workDir_;
    SearchRunHooks hooks_;

    GeneratorCommand command_;
    mutable std::optional<SearchedPatterns> searched_; // read from the file when first asked
    RunMode mode_ = RunMode::Search;
    bool active_ = false;
    bool processStarted_ = false;
    bool searchRunning_ = false;
    bool cancelRequested_ = false;
    bool pausedForHeat_ = false;
    bool pauseWaiting_ = false; // the last run ended in a pause that has not been resumed or ended
    bool resuming_ = false;
    bool foundAny_ = false;
    bool ended_ = false;
    int patternCount_ = 0;
    unsigned passCount_ = 0;
    std::chrono::steady_clock::time_point runStartTime_{};
    std::chrono::steady_clock::time_point loopStart_{};
    std::chrono::steady_clock::time_point pauseStart_{};
};

} // namespace tarwick
