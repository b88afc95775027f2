#include "pool/Miner.h"

#include "engine/encoding/Wif.h"
#include "engine/match/Difficulty.h"
#include "pool/ClaimReply.h"
#include "pool/ClaimUrl.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <thread>

namespace tarwick::pool {

using namespace std::chrono_literals;

namespace {

constexpr auto kFirstBackoff = 1000ms;
constexpr std::size_t kWarningsShown = 3;

std::string format(const char* fmt, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, fmt, value);
    return buffer;
}

std::string btc(double value) {
    return format("%.8g", value) + " BTC";
}

// The start and end of a key, enough to tell work items apart on a console.
std::string shortKey(const std::array<std::uint8_t, 65>& key) {
    const std::string hex = upperHex(key.data(), key.size());
    return hex.substr(0, 10) + ".." + hex.substr(hex.size() - 6);
}

} // namespace

void SteadyMinerClock::sleepFor(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

Miner::Miner(const MinerOptions& options, HttpClient& http, const SplitKeyCheck& check,
             Console& console, MinerClock& clock)
    : options_(options), baseUrl_(normalizedPoolUrl(options.poolUrl)), http_(http), check_(check),
      console_(console), clock_(clock) {}

std::chrono::milliseconds Miner::backoff(std::chrono::milliseconds& current) const {
    // 1 s, 2 s, 4 s, ... up to the refetch interval.
    const std::chrono::milliseconds cap = std::chrono::seconds(options_.refetchSeconds);
    current = current.count() == 0 ? kFirstBackoff : current * 2;
    current = std::min(current, std::max(cap, kFirstBackoff));
    return current;
}

bool Miner::connect() {
    console_.line("Pool: " + baseUrl_);
    console_.line("Reward address: " + options_.rewardAddress);
    return fetchWork(true);
}

int Miner::run(KeySearch& search, const std::atomic<bool>& stop) {
    search_ = &search;
    console_.line("Searching on " + search_->description());
    restartSearch();
    lastStatus_ = clock_.now();
    keysAtLastStatus_ = search_->keysChecked();
    while (!stop.load()) {
        if (clock_.now() >= nextFetch_) {
            fetchWork(false);
        }
        if (!handleHits()) {
            search_->stop();
            console_.close();
            return kExitCheckFailed;
        }
        processClaims();
        if (clock_.now() - lastStatus_ >= 1s) {
            printStatus();
        }
        clock_.sleepFor(100ms);
    }
    search_->stop();
    console_.close();
    return kExitStopped;
}

bool Miner::fetchWork(bool first) {
    const std::string url = getWorkUrl(baseUrl_);
    const HttpResult answer = http_.get(url);
    std::string problem;
    if (!answer.transferred) {
        problem = answer.error;
    } else if (answer.status != 200) {
        problem = "HTTP status " + std::to_string(answer.status);
    }
    if (!problem.empty()) {
        if (first && !answer.transferred) {
            // Nothing answered at all: most likely a wrong URL, which waiting will not mend.
            console_.line("Pool error - cannot fetch work from " + url + ": " + problem);
            return false;
        }
        const auto pause = backoff(fetchBackoff_);
        console_.line("Pool error - cannot fetch work from " + url + ": " + problem +
                      "; trying again in " + std::to_string(pause.count() / 1000) + " s");
        nextFetch_ = clock_.now() + pause;
        return true;
    }
    std::vector<std::string> warnings;
    std::vector<WorkItem> items = parseWorkList(answer.body, warnings);
    for (std::size_t i = 0; i < warnings.size() && i < kWarningsShown; ++i) {
        console_.line(warnings[i]);
    }
    if (warnings.size() > kWarningsShown) {
        std::string skipped = "("; // appended, not "literal" + temporary: see printStatus
        skipped += std::to_string(warnings.size() - kWarningsShown) + " more work lines skipped)";
        console_.line(skipped);
    }
    if (items.empty() && !warnings.empty()) {
        // Nothing but unreadable lines: a broken pool or something that is no pool at all.
        const auto pause = backoff(fetchBackoff_);
        console_.line("Pool error - the work list from " + url +
                      " holds no usable item; trying again in " +
                      std::to_string(pause.count() / 1000) + " s");
        nextFetch_ = clock_.now() + pause;
        switchTo(std::nullopt);
        return true;
    }
    fetchBackoff_ = 0ms;
    nextFetch_ = clock_.now() + std::chrono::seconds(options_.refetchSeconds);
    std::erase_if(items, [&](const WorkItem& item) {
        return finished_.count({item.pattern, item.publicKey}) != 0;
    });
    std::optional<WorkGroup> best = selectWork(items);
    if (!best) {
        if (group_ || first) {
            console_.line("No work available from the pool; looking again in " +
                          std::to_string(options_.refetchSeconds) + " s");
        }
        switchTo(std::nullopt);
    } else if (!group_ || !sameSearch(*group_, *best)) {
        switchTo(std::move(best));
    }
    return true;
}

void Miner::switchTo(std::optional<WorkGroup> group) {
    group_ = std::move(group);
    remaining_ = group_ ? group_->items : std::vector<WorkItem>{};
    if (group_) {
        console_.line(workLine(*group_));
    }
    restartSearch();
}

void Miner::restartSearch() {
    if (search_ == nullptr) {
        return; // run() starts it
    }
    search_->stop();
    searching_ = false;
    difficulty_ = 0;
    if (!group_ || remaining_.empty()) {
        return;
    }
    std::vector<std::pair<std::uint8_t, std::string>> patterns;
    for (const WorkItem& item : remaining_) {
        patterns.emplace_back(item.addressVersion, item.pattern);
    }
    std::vector<std::string> warnings;
    const SearchTarget target = makeSearchTarget(group_->publicKey, patterns, warnings);
    if (target.patterns.empty()) {
        return;
    }
    std::size_t count = 0;
    for (const auto& p : target.patterns) {
        count += p.set.size();
    }
    difficulty_ = target.difficulty();
    char line[96];
    if (count == 1) {
        std::snprintf(line, sizeof line, "Difficulty: %.0f", difficulty_);
    } else {
        std::snprintf(line, sizeof line, "Next match difficulty: %.0f (%zu prefixes)", difficulty_,
                      count);
    }
    console_.line(line);
    search_->start(target);
    searching_ = true;
    keysAtStart_ = search_->keysChecked();
}

bool Miner::handleHits() {
    bool changed = false;
    for (const SearchHit& hit : search_->takeHits()) {
        if (!group_ || hit.publicKey != group_->publicKey) {
            continue; // left over from the search of another key
        }
        const auto wanted = [&](const WorkItem& item) {
            return item.pattern == hit.pattern && item.addressVersion == hit.version;
        };
        const auto it = std::find_if(remaining_.begin(), remaining_.end(), wanted);
        if (it == remaining_.end()) {
            continue; // a second find for a pattern already solved
        }
        Solution solution;
        solution.pattern = hit.pattern;
        solution.publicKey = group_->publicKey;
        solution.addressVersion = hit.version;
        hit.offset.toBytes(solution.offset.data());
        solution.address = hit.address;
        const std::string problem = check_.problem(solution);
        if (!problem.empty()) {
            console_.line("Self-check error - a solution for " + hit.pattern +
                          " failed the independent check and is not claimed: " + problem);
            return false;
        }
        console_.line("Pattern: " + hit.pattern + "\nAddress: " + hit.address +
                      "\nPrivkeyPart: " + engine::wifFromPrivateKey(solution.offset.data(), false));
        double reward = 0;
        for (auto item = remaining_.begin(); item != remaining_.end();) {
            if (wanted(*item)) {
                reward += item->reward;
                item = remaining_.erase(item);
            } else {
                ++item;
            }
        }
        finished_.insert({hit.pattern, group_->publicKey});
        claims_.push_back({hit.pattern, group_->publicKey, hit.offset, reward});
        changed = true;
    }
    if (changed) {
        restartSearch();
        if (remaining_.empty()) {
            nextFetch_ = clock_.now(); // this group is done: ask for more work at once
        }
    }
    return true;
}

void Miner::processClaims() {
    while (!claims_.empty() && clock_.now() >= nextClaim_) {
        const Claim& claim = claims_.front();
        const HttpResult answer = http_.get(claimUrl(baseUrl_, claim.pattern, claim.publicKey,
                                                     claim.offset, options_.rewardAddress));
        if (!answer.transferred || answer.status >= 500) {
            const std::string problem =
                answer.transferred ? "HTTP status " + std::to_string(answer.status) : answer.error;
            const auto pause = backoff(claimBackoff_);
            console_.line("Pool error - the claim for " + claim.pattern +
                          " did not get through: " + problem + "; trying again in " +
                          std::to_string(pause.count() / 1000) + " s");
            nextClaim_ = clock_.now() + pause;
            return;
        }
        claimBackoff_ = 0ms;
        const std::string text = claimReplyText(answer.body);
        if (claimAccepted(text)) {
            ++claimsAccepted_;
            rewardsClaimed_ += claim.reward;
            console_.line("Pool answer to the claim for " + claim.pattern + ": " + text +
                          " (reward " + btc(claim.reward) + " for " + options_.rewardAddress + ")");
        } else {
            console_.line("Pool answer to the claim for " + claim.pattern + ": " + text);
            console_.line("Claim error - the pool did not accept the solution for " +
                          claim.pattern);
        }
        claims_.pop_front();
    }
}

void Miner::printStatus() {
    const auto now = clock_.now();
    const double seconds = std::chrono::duration<double>(now - lastStatus_).count();
    const std::uint64_t keys = search_->keysChecked();
    if (seconds > 0) {
        rate_ = static_cast<double>(keys - keysAtLastStatus_) / seconds;
    }
    lastStatus_ = now;
    keysAtLastStatus_ = keys;

    // Appends rather than "literal" + temporary: GCC 12 at -O3 warns falsely (-Wrestrict) there.
    std::string groups = "[";
    groups += engine::formatRate(searching_ ? rate_ : 0) + "][total " + std::to_string(keys) + "]";
    if (searching_) {
        const double done = static_cast<double>(keys - keysAtStart_);
        groups += engine::formatProbabilityGroup(done, difficulty_);
        groups += engine::formatEtaGroup(done, difficulty_, rate_);
        groups += "[Work " + remaining_.front().pattern;
        if (remaining_.size() > 1) {
            groups += " +" + std::to_string(remaining_.size() - 1);
        }
        groups.append(" ").append(shortKey(group_->publicKey)).append("]");
    } else {
        groups += "[No work]";
    }
    groups.append("[").append(search_->statusTag()).append("]");
    groups += "[Claimed " + std::to_string(claimsAccepted_) + ", " + btc(rewardsClaimed_) + "]";
    console_.status(groups);
}

} // namespace tarwick::pool
