// The miner's loop with a scripted pool, a scripted search and a clock that moves only when
// the loop sleeps: which work it takes, what it claims and how, how it reports, and how it
// spaces its retries, all without waiting.

#include "PoolVectors.h"
#include "ec_reference.h"
#include "engine/encoding/Wif.h"
#include "pool/ClaimUrl.h"
#include "pool/Miner.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

using namespace tarwick;
using namespace std::chrono_literals;

class FakeClock final : public pool::MinerClock {
public:
    FakeClock(std::atomic<bool>& stop, std::chrono::milliseconds limit)
        : stop_(stop), limit_(start_ + limit) {}
    TimePoint now() const override { return now_; }
    void sleepFor(std::chrono::milliseconds d) override {
        now_ += d;
        if (now_ >= limit_)
            stop_ = true;
    }
    double seconds() const { return std::chrono::duration<double>(now_ - start_).count(); }

private:
    std::atomic<bool>& stop_;
    TimePoint start_{std::chrono::hours(1)};
    TimePoint now_{start_};
    TimePoint limit_;
};

// Answers by URL prefix from a script; records every request with the clock's time.
class FakeHttp final : public pool::HttpClient {
public:
    explicit FakeHttp(const FakeClock& clock) : clock_(clock) {}
    std::function<pool::HttpResult(const std::string& url)> answer;
    std::vector<std::pair<double, std::string>> requests;

    pool::HttpResult get(const std::string& url) override {
        requests.emplace_back(clock_.seconds(), url);
        return answer(url);
    }
    std::vector<double> timesOf(const std::string& part) const {
        std::vector<double> out;
        for (const auto& [t, url] : requests) {
            if (url.find(part) != std::string::npos)
                out.push_back(t);
        }
        return out;
    }

private:
    const FakeClock& clock_;
};

pool::HttpResult ok(const std::string& body) {
    return {true, 200, body, {}};
}
pool::HttpResult unreachable() {
    return {false, 0, {}, "Couldn't connect to server"};
}

// Hands out the hits it is given once a search has started, and remembers the targets.
class FakeSearch final : public pool::KeySearch {
public:
    std::vector<pool::SearchTarget> targets;
    std::deque<pool::SearchHit> pending;
    bool running = false;

    std::string description() const override { return "a script"; }
    std::string statusTag() const override { return "CPU"; }
    void start(const pool::SearchTarget& t) override {
        targets.push_back(t);
        running = true;
    }
    void stop() override { running = false; }
    std::vector<pool::SearchHit> takeHits() override {
        std::vector<pool::SearchHit> out;
        if (running && !pending.empty()) {
            out.push_back(pending.front());
            pending.pop_front();
        }
        return out;
    }
    std::uint64_t keysChecked() const override { return 1000 * targets.size(); }
};

std::string requesterKeyHex() {
    return test::toHex(test::referencePublicKey(test::keyFromHex(test::kRequesterKey), false));
}

pool::SearchHit vectorHit() {
    pool::SearchHit hit;
    const test::Bytes key = test::referencePublicKey(test::keyFromHex(test::kRequesterKey), false);
    std::copy(key.begin(), key.end(), hit.publicKey.begin());
    hit.pattern = "1Abc";
    hit.offset = engine::Scalar::fromUint64(test::kVectorOffset);
    hit.address = test::kVectorAddress;
    return hit;
}

struct Harness {
    explicit Harness(std::chrono::milliseconds limit, unsigned interval = 300)
        : clock(stop, limit), http(clock), out(std::tmpfile()), console(out) {
        options.poolUrl = "https://pool.example";
        options.rewardAddress = test::kRewardAddress;
        options.refetchSeconds = interval;
    }
    ~Harness() { std::fclose(out); }

    int run() {
        pool::Miner miner(options, http, check, console, clock);
        const int code = miner.connect() ? miner.run(search, stop) : pool::kExitUsage;
        accepted = miner.claimsAccepted();
        rewards = miner.rewardsClaimed();
        return code;
    }
    std::string output() const {
        std::rewind(out);
        std::string text;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
            text.append(buffer, n);
        return text;
    }

    std::atomic<bool> stop{false};
    FakeClock clock;
    FakeHttp http;
    FakeSearch search;
    pool::SplitKeyCheck check;
    std::FILE* out;
    pool::Console console;
    pool::MinerOptions options;
    std::size_t accepted = 0;
    double rewards = 0;
};

TEST(MinerLoop, UnreachablePoolAtStartEndsTheRun) {
    Harness h(10s);
    h.http.answer = [](const std::string&) { return unreachable(); };
    EXPECT_EQ(h.run(), pool::kExitUsage);
    const std::string out = h.output();
    EXPECT_NE(out.find("error "), std::string::npos) << out;
    EXPECT_NE(out.find("https://pool.example/getWork"), std::string::npos) << out;
    EXPECT_TRUE(h.search.targets.empty());
}

TEST(MinerLoop, SolvesChecksAndClaimsTheVector) {
    Harness h(5s);
    const std::string work = "1Abc:" + requesterKeyHex() + ":0:0.05;vector\n";
    h.http.answer = [&](const std::string& url) {
        return url.find("/getWork") != std::string::npos ? ok(work) : ok("OK!");
    };
    h.search.pending.push_back(vectorHit());
    EXPECT_EQ(h.run(), pool::kExitStopped);

    ASSERT_EQ(h.search.targets.size(), 1u);
    EXPECT_EQ(test::toHex(h.search.targets[0].publicKey), requesterKeyHex());
    const auto claims = h.http.timesOf("/solve?");
    ASSERT_EQ(claims.size(), 1u);
    std::array<std::uint8_t, 65> key = h.search.targets[0].publicKey;
    const std::string expected =
        pool::claimUrl("https://pool.example/", "1Abc", key,
                       engine::Scalar::fromUint64(test::kVectorOffset), test::kRewardAddress);
    EXPECT_EQ(std::count_if(h.http.requests.begin(), h.http.requests.end(),
                            [&](const auto& r) { return r.second == expected; }),
              1);
    EXPECT_EQ(h.accepted, 1u);
    EXPECT_DOUBLE_EQ(h.rewards, 0.05);

    const std::string out = h.output();
    test::Key k = test::keyFromUint64(test::kVectorOffset);
    const std::string record = "Pattern: 1Abc\nAddress: " + std::string(test::kVectorAddress) +
                               "\nPrivkeyPart: " + engine::wifFromPrivateKey(k.data(), false) +
                               "\n";
    EXPECT_NE(out.find(record), std::string::npos) << out;
    EXPECT_EQ(out.find("Privkey: "), std::string::npos);
    EXPECT_NE(out.find("Pool answer to the claim for 1Abc: OK!"), std::string::npos) << out;
    EXPECT_NE(out.find("Difficulty: 77178"), std::string::npos) << out;
    // The status: a refresh with \r whose first group holds the key rate, then the claims.
    const std::size_t status = out.rfind("\r[");
    ASSERT_NE(status, std::string::npos) << out;
    EXPECT_NE(out.find("key/s]", status), std::string::npos);
    EXPECT_NE(out.find("[Claimed 1, 0.05 BTC]", status), std::string::npos) << out.substr(status);
    EXPECT_EQ(out.find("error "), std::string::npos) << out;
    // The group is done: the miner asked for more work at once.
    EXPECT_GE(h.http.timesOf("/getWork").size(), 2u);
}

TEST(MinerLoop, RefusedClaimIsReportedAndNotRetried) {
    Harness h(5s);
    const std::string work = "1Abc:" + requesterKeyHex() + ":0:0.05;vector\n";
    h.http.answer = [&](const std::string& url) {
        // An 8-bit CSI, a right-to-left override (UTF-8) and an ESC must not reach the terminal.
        return url.find("/getWork") != std::string::npos ? ok(work)
                                                         : ok("Wrong pattern\x9b"
                                                              "2J\xe2\x80\xae\x1b[31m\n");
    };
    h.search.pending.push_back(vectorHit());
    EXPECT_EQ(h.run(), pool::kExitStopped);
    EXPECT_EQ(h.http.timesOf("/solve?").size(), 1u);
    EXPECT_EQ(h.accepted, 0u);
    const std::string out = h.output();
    EXPECT_NE(out.find("Pool answer to the claim for 1Abc: Wrong pattern 2J    [31m"),
              std::string::npos)
        << out;
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x7F && (byte >= 0x20 || byte == '\n' || byte == '\r');
    })) << out;
    EXPECT_NE(out.find("Claim error - "), std::string::npos) << out;
    // The pool still lists the item, but it is not searched again.
    EXPECT_EQ(h.search.targets.size(), 1u);
}

TEST(MinerLoop, ClaimThatDoesNotGetThroughIsRetriedWithGrowingPauses) {
    Harness h(20s);
    const std::string work = "1Abc:" + requesterKeyHex() + ":0:0.05;vector\n";
    int solveCalls = 0;
    h.http.answer = [&](const std::string& url) {
        if (url.find("/getWork") != std::string::npos)
            return ok(work);
        return ++solveCalls <= 3 ? unreachable() : ok("OK!");
    };
    h.search.pending.push_back(vectorHit());
    EXPECT_EQ(h.run(), pool::kExitStopped);
    const auto times = h.http.timesOf("/solve?");
    ASSERT_EQ(times.size(), 4u);
    EXPECT_NEAR(times[1] - times[0], 1.0, 0.15);
    EXPECT_NEAR(times[2] - times[1], 2.0, 0.15);
    EXPECT_NEAR(times[3] - times[2], 4.0, 0.15);
    EXPECT_EQ(h.accepted, 1u);
    const std::string out = h.output();
    EXPECT_NE(out.find("Pool error - the claim for 1Abc did not get through"), std::string::npos);
}

TEST(MinerLoop, WorkIsFetchedAgainEveryIntervalAndFailuresBackOff) {
    Harness h(40s, 10);
    const std::string work = "1Abc:" + requesterKeyHex() + ":0:0.05;vector\n";
    int calls = 0;
    h.http.answer = [&](const std::string&) {
        ++calls;
        // fetch 1 and 2 fine, then failures until 14 s past the second one, then fine.
        if (calls <= 2 || calls >= 6)
            return ok(work);
        return unreachable();
    };
    EXPECT_EQ(h.run(), pool::kExitStopped);
    const auto times = h.http.timesOf("/getWork");
    ASSERT_GE(times.size(), 7u);
    EXPECT_NEAR(times[1] - times[0], 10.0, 0.15); // the interval
    EXPECT_NEAR(times[2] - times[1], 10.0, 0.15);
    EXPECT_NEAR(times[3] - times[2], 1.0, 0.15); // back-off after failures
    EXPECT_NEAR(times[4] - times[3], 2.0, 0.15);
    EXPECT_NEAR(times[5] - times[4], 4.0, 0.15);
    EXPECT_NEAR(times[6] - times[5], 10.0, 0.15); // back to the interval
    // The same work all along: one search, never restarted.
    EXPECT_EQ(h.search.targets.size(), 1u);
    EXPECT_TRUE(h.search.running == false); // stopped at the end
    const std::string out = h.output();
    EXPECT_NE(out.find("Pool error - cannot fetch work"), std::string::npos) << out;
}

TEST(MinerLoop, TakesTheMostValuableKeyWithAllItsPatterns) {
    Harness h(2s);
    const std::string other = test::toHex(test::referencePublicKey(test::keyFromUint64(99), false));
    const std::string work = "1Love:" + other + ":0:1;big but hard\n" +        //
                             "1Abc:" + requesterKeyHex() + ":0:0.05;small\n" + //
                             "1Xy:" + requesterKeyHex() + ":0:0.001;smaller\n";
    h.http.answer = [&](const std::string&) { return ok(work); };
    EXPECT_EQ(h.run(), pool::kExitStopped);
    ASSERT_EQ(h.search.targets.size(), 1u);
    const pool::SearchTarget& t = h.search.targets[0];
    EXPECT_EQ(test::toHex(t.publicKey), requesterKeyHex());
    ASSERT_EQ(t.patterns.size(), 1u);
    EXPECT_EQ(t.patterns[0].set.size(), 2u);
    EXPECT_NE(h.output().find("Next match difficulty: "), std::string::npos);
}

TEST(MinerLoop, HitLeftOverFromAnotherKeyIsDropped) {
    // Two requesters want 1Abc; the search of the first one's key finds it twice, and the
    // second find arrives once the miner works for the second requester.
    Harness h(5s);
    const std::string other = test::toHex(test::referencePublicKey(test::keyFromUint64(99), false));
    const std::string work = "1Abc:" + requesterKeyHex() + ":0:0.05;first\n" + //
                             "1Abc:" + other + ":0:0.01;second\n";
    h.http.answer = [&](const std::string& url) {
        return url.find("/getWork") != std::string::npos ? ok(work) : ok("OK!");
    };
    h.search.pending = {vectorHit(), vectorHit()};
    EXPECT_EQ(h.run(), pool::kExitStopped) << h.output();
    ASSERT_EQ(h.search.targets.size(), 2u);
    EXPECT_EQ(test::toHex(h.search.targets[1].publicKey), other);
    EXPECT_EQ(h.http.timesOf("/solve?").size(), 1u);
    EXPECT_EQ(h.accepted, 1u);
}

TEST(MinerLoop, HitThatFailsTheCheckIsNeverClaimed) {
    Harness h(5s);
    const std::string work = "1Abc:" + requesterKeyHex() + ":0:0.05;vector\n";
    h.http.answer = [&](const std::string&) { return ok(work); };
    pool::SearchHit wrong = vectorHit();
    wrong.offset = engine::Scalar::fromUint64(test::kVectorOffset + 1);
    h.search.pending.push_back(wrong);
    EXPECT_EQ(h.run(), pool::kExitCheckFailed);
    EXPECT_TRUE(h.http.timesOf("/solve?").empty());
    const std::string out = h.output();
    EXPECT_NE(out.find("Self-check error - "), std::string::npos) << out;
    EXPECT_EQ(out.find("PrivkeyPart: "), std::string::npos);
}

TEST(MinerLoop, GarbageAndEmptyListsLeaveTheMinerWaiting) {
    Harness h(6s, 2);
    int calls = 0;
    h.http.answer = [&](const std::string&) {
        ++calls;
        if (calls == 1)
            return ok("");
        if (calls == 2)
            return ok("<html><body>Over quota</body></html>\n");
        return pool::HttpResult{true, 503, "Service Unavailable", {}};
    };
    EXPECT_EQ(h.run(), pool::kExitStopped);
    EXPECT_TRUE(h.search.targets.empty());
    const std::string out = h.output();
    EXPECT_NE(out.find("No work available"), std::string::npos) << out;
    EXPECT_NE(out.find("holds no usable item"), std::string::npos) << out;
    EXPECT_NE(out.find("HTTP status 503"), std::string::npos) << out;
    EXPECT_NE(out.find("[No work]"), std::string::npos) << out;
}

} // namespace
