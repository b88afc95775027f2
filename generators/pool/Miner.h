#pragma once

#include "pool/Console.h"
#include "pool/HttpClient.h"
#include "pool/KeySearch.h"
#include "pool/MinerOptions.h"
#include "pool/SplitKeyCheck.h"
#include "pool/WorkSelection.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace tarwick::pool {

// Exit codes of oclvanityminer64.exe.
inline constexpr int kExitStopped = 0;     // told to stop
inline constexpr int kExitUsage = 1;       // bad options or reward address, pool unreachable
inline constexpr int kExitCheckFailed = 2; // a solution failed the independent check

// Time, behind an interface so that the loop's back-off can be tested without waiting.
class MinerClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~MinerClock() = default;
    virtual TimePoint now() const = 0;
    virtual void sleepFor(std::chrono::milliseconds duration) = 0;
};

class SteadyMinerClock final : public MinerClock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleepFor(std::chrono::milliseconds duration) override;
};

// The miner's loop: fetch the work list, search for the most valuable group, check every
// solution independently, claim it for the reward address, fetch again every -i seconds,
// and report on the console. Network trouble never ends the run after the first fetch; it
// is reported with a line containing "error " and retried with growing pauses.
class Miner {
public:
    Miner(const MinerOptions& options, HttpClient& http, const SplitKeyCheck& check,
          Console& console, MinerClock& clock);

    // The first look at the pool, before any device is set up (which may take a while): false,
    // after a line containing "error ", when the pool cannot be reached.
    bool connect();
    // Searches on `search` until `stop` is set (or a solution fails its check); returns the
    // exit code. connect() must have succeeded.
    int run(KeySearch& search, const std::atomic<bool>& stop);

    // Figures for the status line and the tests.
    std::size_t claimsAccepted() const { return claimsAccepted_; }
    double rewardsClaimed() const { return rewardsClaimed_; }

private:
    struct Claim {
        std::string pattern;
        std::array<std::uint8_t, 65> publicKey{};
        engine::Scalar offset{};
        double reward = 0;
    };
    using Key = std::pair<std::string, std::array<std::uint8_t, 65>>;

    bool fetchWork(bool first);
    void switchTo(std::optional<WorkGroup> group);
    void restartSearch();
    bool handleHits();
    void processClaims();
    void printStatus();
    std::chrono::milliseconds backoff(std::chrono::milliseconds& current) const;

    MinerOptions options_;
    std::string baseUrl_;
    HttpClient& http_;
    KeySearch* search_ = nullptr; // none until run()
    const SplitKeyCheck& check_;
    Console& console_;
    MinerClock& clock_;

    std::optional<WorkGroup> group_;
    std::vector<WorkItem> remaining_; // the group's items not solved yet
    bool searching_ = false;
    double difficulty_ = 0;
    std::uint64_t keysAtStart_ = 0;
    std::set<Key> finished_; // solved or refused: not searched again
    std::deque<Claim> claims_;

    MinerClock::TimePoint nextFetch_{};
    MinerClock::TimePoint nextClaim_{};
    std::chrono::milliseconds fetchBackoff_{0};
    std::chrono::milliseconds claimBackoff_{0};

    MinerClock::TimePoint lastStatus_{};
    std::uint64_t keysAtLastStatus_ = 0;
    double rate_ = 0;

    std::size_t claimsAccepted_ = 0;
    double rewardsClaimed_ = 0;
};

} // namespace tarwick::pool
