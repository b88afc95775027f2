#pragma once

#include "engine/ec/Scalar.h"
#include "engine/match/PatternSet.h"
#include "engine/search/FoundKey.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tarwick::engine {

struct SearchSettings {
    unsigned threads = 1;
    bool compressed = true;
    bool caseInsensitive = false;
    bool keepGoing = false;       // go on after every pattern has been found
    std::size_t walkerHalf = 512; // a walker batch holds 2 * walkerHalf points
};

// The figures of one status report.
struct SearchStatus {
    double keysPerSecond = 0;
    std::uint64_t totalKeys = 0;
    std::uint64_t keysSinceLastFind = 0;
    double difficulty = 0; // expected keys for the patterns still wanted
    std::size_t found = 0;
    std::size_t patterns = 0; // patterns given (found ones included)
    bool keepGoing = false;
};

// Where a search reports. Calls come one at a time, never concurrently.
class SearchObserver {
public:
    virtual ~SearchObserver() = default;
    virtual void status(const SearchStatus& status) = 0;
    // A key that has passed the KeyCheck.
    virtual void found(const FoundKey& key) = 0;
    virtual void failed(const std::string& message) = 0;
};

// Where each worker's walk starts.
class StartKeySource {
public:
    virtual ~StartKeySource() = default;
    virtual Scalar nextStart() = 0;
};

// Starts from the operating system's random generator.
class SystemStartKeys final : public StartKeySource {
public:
    Scalar nextStart() override;
};

enum class SearchOutcome {
    AllFound,    // every pattern found (never with keepGoing)
    CheckFailed, // a key failed the check; nothing of it was reported
    Stopped,     // requestStop() or a worker failure
};

// The search: one walker per thread over consecutive keys from a random start; the six
// candidates of each point are hashed in batches and matched against the patterns still
// wanted; every match is checked before the observer hears of it. After each reported key
// its thread starts again from a fresh key of `starts`, so that no two reported keys are
// related.
class Search {
public:
    Search(const SearchSettings& settings, PatternSet patterns, const KeyCheck& check,
           SearchObserver& observer, StartKeySource& starts);
    ~Search();
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;

    // Runs until done; reports status about once a second on the calling thread.
    SearchOutcome run();
    // May be called from any thread and from the observer's callbacks (not from a signal
    // handler); run() then returns Stopped within about a second.
    void requestStop();

private:
    struct Counter;
    void work(unsigned index, Scalar start);
    // Reports the key if its pattern is still wanted and it passes the check; then returns
    // the key the finding thread goes on from.
    std::optional<Scalar> submit(FoundKey key);
    void finish(SearchOutcome outcome, const std::string& message);
    std::uint64_t totalKeys() const;
    std::shared_ptr<const PatternSet> currentPatterns(std::uint64_t& generation) const;

    SearchSettings settings_;
    const KeyCheck& check_;
    SearchObserver& observer_;
    StartKeySource& starts_;
    std::size_t patternCount_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<const PatternSet> patterns_;
    std::atomic<std::uint64_t> generation_{0};
    std::atomic<bool> stop_{false};          // workers leave their loops
    std::atomic<bool> stopRequested_{false}; // requestStop() was called
    bool done_ = false;
    SearchOutcome outcome_ = SearchOutcome::Stopped;
    std::string failure_;
    std::size_t found_ = 0;
    std::uint64_t keysAtLastFind_ = 0;
    std::unique_ptr<Counter[]> counters_;
};

} // namespace tarwick::engine
