// The miner's loop with a scripted pool, a scripted search and a clock that moves only when
// the loop sleeps: which work it takes, what it claims and how, what it reports, and how it
// spaces its retries, all without waiting.

#include "PoolVectors.h"
#include "ec_reference.h"
#include "pool/Miner.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

using namespace tarwick;
using Strings = std::vector<std::string>;
using PublicKey = std::array<std::uint8_t, 65>;

PublicKey publicKeyOf(const test::Key& key) {
    const test::Bytes p = test::referencePublicKey(key, false);
    PublicKey out{};
    std::copy(p.begin(), p.end(), out.begin());
    return out;
}

// Clock, pool and search in one. The clock moves only when the miner sleeps and stops the run
// at the limit; the pool answers from scripts whose last answer repeats ("!": nothing answers,
// "#503": that status); the search hands out one hit a turn. It logs the requests and the
// searches started, and the times of the fetches and claims (" 0.0 1.0 3.0").
struct Fakes final : pool::MinerClock, pool::HttpClient, pool::KeySearch {
    TimePoint begin{std::chrono::hours(1)}, time = begin, limit;
    std::atomic<bool> stopped{false};
    Strings work, solve;
    std::vector<pool::SearchHit> hits;
    bool running = false;
    std::size_t targets = 0;
    std::string log, fetchTimes, claimTimes;

    TimePoint now() const override { return time; }
    void sleepFor(std::chrono::milliseconds d) override {
        time += d;
        stopped = stopped || time >= limit;
    }
    pool::HttpResult get(const std::string& url) override {
        const bool fetch = url.ends_with("/getWork");
        char at[32];
        std::snprintf(at, sizeof at, " %.1f", std::chrono::duration<double>(time - begin).count());
        (fetch ? fetchTimes : claimTimes) += at;
        log += url + "\n";
        Strings& script = fetch ? work : solve;
        const std::string answer = script.front();
        if (script.size() > 1)
            script.erase(script.begin());
        if (answer == "!")
            return {false, 0, {}, "down"};
        return answer.starts_with('#') ? pool::HttpResult{true, std::stol(answer.substr(1)), {}, {}}
                                       : pool::HttpResult{true, 200, answer, {}};
    }
    std::string description() const override { return "a script"; }
    std::string statusTag() const override { return "CPU"; }
    void start(const pool::SearchTarget& t) override {
        log += "search " + test::toHex(t.publicKey) + " " +
               std::to_string(t.patterns[0].set.size()) + "\n";
        ++targets;
        running = true;
    }
    void stop() override { running = false; }
    std::vector<pool::SearchHit> takeHits() override {
        if (!running || hits.empty())
            return {};
        std::vector<pool::SearchHit> taken{hits.front()};
        hits.erase(hits.begin());
        return taken;
    }
    std::uint64_t keysChecked() const override { return 1000 * targets; }
};

TEST(MinerLoop, Scenarios) {
    const PublicKey requester = publicKeyOf(test::keyFromHex(test::kRequesterKey));
    const PublicKey other = publicKeyOf(test::keyFromUint64(99));
    const auto line = [](const char* pattern, const PublicKey& key, const char* rest) {
        return pattern + (":" + test::toHex(key)) + ":0:" + rest + "\n";
    };
    const std::string vector = line("1Abc", requester, "0.05;vector");
    struct Case {
        const char* name;
        int seconds;
        unsigned interval;
        Strings work, solve;
        std::vector<std::uint64_t> hits; // offsets for 1Abc on the requester's key
        std::string run;                 // how it went; the fetch times may go on
        Strings says;
    };
    const std::string more = vector + line("1Xy", requester, "0.001");
    // clang-format off
    const Case cases[] = {
        {"the vector solved, checked and claimed; more work asked for at once", 5, 300, {vector},
         {"OK!"}, {test::kVectorOffset},
         "exit 0, 1 searches, 1 accepted, claims 0.0, fetches 0.0 0.1",
         {"search " + test::toHex(requester) + " 1", "Difficulty: 77178",
          "Pattern: 1Abc\nAddress: 1Abc1fxZtoT1YSy9dgY7ATQf7pHnELPFnP\n"
          "PrivkeyPart: 5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsrovYsqDh2\n",
          "Pool answer to the claim for 1Abc: OK! (reward 0.05 BTC", "\r[", "key/s][total ",
          "[Claimed 1, 0.05 BTC]"}},
        {"a refused claim is reported, cleaned of control bytes, and not retried", 5, 300, {vector},
         {"Wrong pattern\x9b" "2J\xe2\x80\xae\x1b[31m\n"}, {test::kVectorOffset},
         "exit 0, 1 searches, 0 accepted, claims 0.0,",
         {"claim for 1Abc: Wrong pattern 2J    [31m\n", "Claim error - "}},
        {"a claim that does not get through is retried with growing pauses", 20, 300, {vector},
         {"!", "#502", "!", "OK!"}, {test::kVectorOffset},
         "exit 0, 1 searches, 1 accepted, claims 0.0 1.0 3.0 7.0,",
         {"Pool error - the claim for 1Abc did not get through: HTTP status 502"}},
        {"work fetched every interval, failures back off; a new reward is the same search", 40,
         10, {vector, line("1Abc", requester, "0.07"), "!", "!", "!", more}, {}, {},
         "exit 0, 2 searches, 0 accepted, claims, fetches 0.0 10.0 20.0 21.0 23.0 27.0 37.0",
         {"Pool error - cannot fetch work", "search " + test::toHex(requester) + " 2"}},
        {"the key worth most in all, with all its patterns; repeats, CR LF, blank lines", 2, 300,
         {line("1Love", other, "4;worth most alone") + vector + vector +
          line("1Xy", requester, "0.05\r") + "\n"}, {}, {}, "exit 0, 1 searches",
         {"search " + test::toHex(requester) + " 2", "Work: 2 patterns for ",
          "Next match difficulty: "}},
        {"a hit left over from another key", 5, 300, {vector + line("1Abc", other, "0.01")},
         {"OK!"}, {test::kVectorOffset, test::kVectorOffset},
         "exit 0, 2 searches, 1 accepted, claims 0.0,", {"search " + test::toHex(other) + " 1"}},
        {"a hit failing the check is never claimed", 5, 300, {vector}, {},
         {test::kVectorOffset + 1}, "exit 2, 1 searches, 0 accepted, claims,",
         {"Self-check error - "}},
        {"empty lists, garbage and errors leave the miner waiting", 6, 2,
         {"", "<html><body>Over quota</body></html>\n", "#503"}, {}, {},
         "exit 0, 0 searches, 0 accepted, claims, fetches 0.0 2.0",
         {"No work available", "holds no usable item", "HTTP status 503", "[No work]"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fakes f;
        f.limit = f.begin + std::chrono::seconds(c.seconds);
        f.work = c.work;
        f.solve = c.solve.empty() ? Strings{"!"} : c.solve;
        for (const std::uint64_t k : c.hits)
            f.hits.push_back(
                {requester, "1Abc", 0, engine::Scalar::fromUint64(k), test::kVectorAddress});
        char* text = nullptr;
        std::size_t size = 0;
        std::FILE* out = open_memstream(&text, &size);
        pool::Console console(out);
        pool::MinerOptions options;
        options.poolUrl = "http://p//", options.rewardAddress = test::kRewardAddress;
        options.refetchSeconds = c.interval;
        const pool::SplitKeyCheck check;
        pool::Miner miner(options, f, check, console, f);
        const int exitCode = miner.connect() ? miner.run(f, f.stopped) : pool::kExitUsage;
        std::fclose(out);
        const std::string all = std::string(text, size) + f.log;
        std::free(text);
        const std::string run = "exit " + std::to_string(exitCode) + ", " +
                                std::to_string(f.targets) + " searches, " +
                                std::to_string(miner.claimsAccepted()) + " accepted, claims" +
                                f.claimTimes + ", fetches" + f.fetchTimes;
        EXPECT_TRUE(run.starts_with(c.run) && !f.running) << run;
        for (const std::string& s : c.says)
            EXPECT_NE(all.find(s), std::string::npos) << s << " in\n" << all;
        // Only the part k is ever printed, and only for a solution that passed the check.
        EXPECT_EQ(all.find("Privkey: "), std::string::npos);
        EXPECT_EQ(all.find("PrivkeyPart: ") != std::string::npos, !f.claimTimes.empty());
        EXPECT_TRUE(std::all_of(all.begin(), all.end(), [](char ch) {
            return (ch >= 0x20 && ch < 0x7F) || ch == '\n' || ch == '\r';
        })) << all;
    }
}

} // namespace
