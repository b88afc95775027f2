// The pool miner's parts (against libsecp256k1 where there is arithmetic), then its loop with a
// scripted pool, search and clock: which work it takes, what it claims, reports and retries.

#include "pool/Miner.h"

#include "EcReference.h"
#include "PoolVectors.h"
#include "pool/ClaimUrl.h"
#include "pool/MinerOptions.h"
#include "pool/RewardAddress.h"
#include "pool/SplitKeyWalker.h"
#include "pool/WorkList.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace {

using namespace tarwick;
using namespace tarwick::pool;
using test::Key;
using Strings = std::vector<std::string>;
using PublicKey = std::array<std::uint8_t, 65>;

PublicKey publicKeyOf(const Key& key) {
    const test::Bytes p = test::referencePublicKey(key, false);
    PublicKey out{};
    std::copy(p.begin(), p.end(), out.begin());
    return out;
}

TEST(MinerOptions, RefusedCommandLines) {
    for (const char* line : {"-a1x", "-uhttp://p", "-uftp://p -a1x", "-uhttp://p -a1x -i0",
                             "-uhttp://p -a1x -t5s", "-uhttp://p -a1x -q", "-uhttp://p -D0:1 -a",
                             "-uhttp://p -a1x 1Abc" /* the pool chooses the patterns */}) {
        std::istringstream in(line);
        MinerOptions options;
        std::string reason;
        EXPECT_TRUE(
            !parseMinerOptions({std::istream_iterator<std::string>(in), {}}, options, reason) &&
            !reason.empty())
            << line;
    }
}

TEST(RewardAddress, P2pkhAndP2shOnly) { // not nothing, not Base58, a WIF, the test network
    for (const auto& [address, good] :
         {std::pair{"1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm", true},
          {"3J98t1WpEZ73CNmQviecrnyiWrnqRhWNLy", true},
          {"", false},
          {"1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZ0", false},
          {"5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAnchuDf", false},
          {"mipcBbFg9gMiCh81Kj8tqqdgoZub1ZJRfn", false}}) {
        EXPECT_EQ(rewardAddressProblem(address).empty(), good) << address;
    }
    EXPECT_EQ(claimUrl("http://h", "1a&b=c", {}, engine::Scalar::fromUint64(1), "1 y"),
              "http://h/solve?key=1a%26b%3Dc%3A" + std::string(130, '0') +
                  "&privateKey=" + std::string(63, '0') + "1&bitcoinAddress=1%20y");
}

TEST(WorkList, SkipsMalformedLinesWithAWarningEach) {
    std::string pa = test::toHex(test::referencePublicKey(test::keyFromUint64(777), false));
    std::ranges::transform(pa, pa.begin(), ::toupper); // hex digits of either case
    std::string offCurve = pa;
    offCurve[129] = offCurve[129] == '0' ? '1' : '0'; // y no longer fits x
    Strings bad = {"1Abc:" + pa.substr(2) + ":0:0.05\n", "1Abc:" + offCurve + ":0:0.05\n",
                   "1Abc:04" + pa.substr(4, 64) + ":0:0.05\n", // 66 digits: 02 or 03 first
                   "1Abc:" + std::string(130, 'g') + ":0:0.05\n",
                   "1Abc:" + pa + ":0:1" + std::string(400, '0') + "\n"};
    for (std::string form :
         {"1Abc:K:0\n", "1Abc:K:0:0.05:7;extra field\n", ":K:0:0.05\n", "1Abc:K:256:0.05\n",
          "1Abc:K:x:0.05\n", "1Abc:K:0:-1\n", "1Abc:K:0:1e3\n", "2abc:K:0:0.05\n",
          "1Ab0:K:0:0.05\n", "1Xyz:K:0:2", "1Abc:K:0:.\n"}) {
        bad.push_back(form.replace(form.find('K'), 1, pa));
    }
    for (const std::string& line : bad) {
        Strings warnings;
        EXPECT_TRUE(parseWorkList(line, warnings).empty() && warnings.size() == 1) << line;
    }
}

TEST(WorkSelection, TiesAndTheCapOnAGroupAndItsLine) {
    const auto item = [](std::uint8_t key, const std::string& pattern, double reward) {
        WorkItem w{.pattern = pattern, .reward = reward, .comment = {}, .difficulty = 1330};
        w.publicKey.fill(key);
        return w;
    };
    EXPECT_FALSE(selectWork({}));
    EXPECT_EQ(selectWork({item(5, "1Ab", 0), item(6, "1Ab", 0)})->publicKey[1], 5);
    std::vector<WorkItem> items = {item(1, "1Ab", 0.001)};
    for (int i = 0; i < 1000; ++i) { // 1,000 items for the most valuable key
        items.push_back(item(0xEE, "1Abc" + std::to_string(i % 10), 0.01 + i * 1e-6));
    }
    const auto group = selectWork(items);
    ASSERT_TRUE(group && group->publicKey[1] == 0xEE && group->items.size() == kMaxGroupItems);
    EXPECT_DOUBLE_EQ(group->items.front().reward, 0.01 + 999e-6); // the most valuable first
    const std::string line = workLine(*group);
    EXPECT_TRUE(
        line.starts_with("Work: 256 patterns for public key EEEEEEEEEE..EEEEEE, ") &&
        line.ends_with(" and " + std::to_string(kMaxGroupItems - kPatternsShown) + " more") &&
        line.size() < 300)
        << line;
}

const Key kMinusOne = test::referenceKeyNegated(test::keyFromUint64(1));

TEST(SplitKey, WalkerMatchesLibsecp256k1) {
    test::TestRandom random(8);
    // P = (n-1)*G: the walk from k = 0 passes the point at infinity at k = 1, and offsets near
    // n wrap past it; those batches take the slow, complete path.
    const std::tuple<Key, Key, std::size_t> cases[] = {
        {random.key(), random.key(), 1},
        {random.key(), random.key(), 37},
        {random.key(), random.key(), 256},
        {kMinusOne, test::keyFromUint64(0), 4},
        {kMinusOne, test::referenceKeyNegated(test::keyFromUint64(5)), 4}};
    for (const auto& [a, first, size] : cases) {
        Strings warnings;
        engine::Scalar offset;
        ASSERT_TRUE(engine::Scalar::fromBytes(first.data(), offset));
        SplitKeyWalker walker(size);
        walker.start(makeSearchTarget(publicKeyOf(a), {}, warnings).point, offset);
        std::vector<engine::AffinePoint> points(walker.batchSize());
        for (int batch = 0; batch < 3; ++batch) {
            const engine::Scalar base = walker.firstOffset();
            walker.next(points.data());
            for (std::size_t i = 0; i < points.size(); ++i) {
                Key k;
                engine::scalarAdd(base, engine::Scalar::fromUint64(i)).toBytes(k.data());
                test::Bytes point(points[i].infinity ? 0 : 65);
                if (!points[i].infinity) {
                    engine::serializePoint(points[i], false, point.data());
                }
                // P + k*G = (a + k)*G, the point at infinity where k = n - a.
                ASSERT_EQ(point,
                          k == test::referenceKeyNegated(a)
                              ? test::Bytes()
                              : test::referencePublicKey(test::referenceKeyPlus(a, k), false))
                    << size << " batch " << batch << " point " << i;
            }
        }
    }
}

TEST(SplitKey, CheckAcceptsOnlyTheRightSolution) {
    const Key a = test::keyFromHex(test::kRequesterKey);
    const auto k = test::keyFromUint64;
    const std::string vector = test::kVectorAddress, g = test::kRewardAddress; // G's address
    const std::tuple<Key, Key, std::uint8_t, const char*, std::string, bool> cases[] = {
        {kMinusOne, k(2), 0, "1EHN", g, true},                 // (n - 1 + 2) G = G
        {kMinusOne, k(1), 0, "1", "", false},                  // the point at infinity
        {a, k(test::kVectorOffset), 0, "1abc", vector, false}, // the pool is case-sensitive
        {a, k(test::kVectorOffset), 0, "", vector, false},
        {a, k(test::kVectorOffset), 111, "1Abc", vector, false},
        {a, test::keyFromHex(std::string(64, 'F')), 0, "1Abc", vector, false}, // k beyond n
    };
    const SplitKeyCheck check;
    for (const auto& [key, offset, version, pattern, address, good] : cases) {
        EXPECT_EQ(check.problem({pattern, publicKeyOf(key), version, offset, address}).empty(),
                  good)
            << pattern << " " << int(version) << " " << test::toHex(offset);
    }
}

// Clock (moves only when the miner sleeps; stops the run at the limit), pool (answers from
// scripts whose last answer repeats; "!": no answer, "#503": that status) and search in one.
// It logs the requests, the searches started and the times of fetches and claims (" 0.0 1.0").
struct Fakes final : MinerClock, HttpClient, KeySearch {
    TimePoint begin{std::chrono::hours(1)}, time = begin, limit;
    std::atomic<bool> stopped{false};
    Strings work, solve;
    std::vector<SearchHit> hits;
    bool running = false;
    std::size_t targets = 0;
    std::string log, fetchTimes, claimTimes;

    TimePoint now() const override { return time; }
    void sleepFor(std::chrono::milliseconds d) override {
        time += d;
        stopped = stopped || time >= limit;
    }
    HttpResult get(const std::string& url) override {
        const bool fetch = url.ends_with("/getWork");
        char at[32];
        std::snprintf(at, sizeof at, " %.1f", std::chrono::duration<double>(time - begin).count());
        (fetch ? fetchTimes : claimTimes) += at;
        log += url + "\n";
        Strings& script = fetch ? work : solve;
        const std::string answer = script.empty() ? "!" : script.front();
        script.erase(script.begin(), script.begin() + (script.size() > 1));
        return answer == "!"             ? HttpResult{false, 0, {}, "down"}
               : answer.starts_with('#') ? HttpResult{true, std::stol(answer.substr(1)), {}, {}}
                                         : HttpResult{true, 200, answer, {}};
    }
    std::string description() const override { return "a script"; }
    std::string statusTag() const override { return "CPU"; }
    void start(const SearchTarget& t) override {
        log += "search " + test::toHex(t.publicKey) + " " +
               std::to_string(t.patterns[0].set.size()) + "\n";
        ++targets;
        running = true;
    }
    void stop() override { running = false; }
    std::vector<SearchHit> takeHits() override { // one a turn
        std::vector<SearchHit> taken(hits.begin(), hits.begin() + (running && !hits.empty()));
        hits.erase(hits.begin(), hits.begin() + static_cast<long>(taken.size()));
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
        int seconds, interval;
        Strings work, solve;
        std::vector<std::uint64_t> hits; // offsets for 1Abc on the requester's key
        std::string run;                 // how it went; the fetch times may go on
        Strings says;
    };
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
         10, {vector, line("1Abc", requester, "0.07"), "!", "!", "!",
         vector + line("1Xy", requester, "0.001")}, {}, {},
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
         {"", "<html>\x1b[2J\x9b" "2J\xe2\x80\xae Over quota</html>\n", "#503"}, {}, {},
         "exit 0, 0 searches, 0 accepted, claims, fetches 0.0 2.0",
         {"No work available", "holds no usable item", "HTTP status 503", "[No work]"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fakes f;
        f.limit = f.begin + std::chrono::seconds(c.seconds);
        f.work = c.work, f.solve = c.solve;
        for (const std::uint64_t k : c.hits) {
            f.hits.push_back(
                {requester, "1Abc", 0, engine::Scalar::fromUint64(k), test::kVectorAddress});
        }
        char* text = nullptr;
        std::size_t size = 0;
        std::FILE* out = open_memstream(&text, &size);
        Console console(out);
        MinerOptions options;
        options.poolUrl = "http://p//", options.rewardAddress = test::kRewardAddress;
        options.refetchSeconds = static_cast<unsigned>(c.interval);
        const SplitKeyCheck check;
        Miner miner(options, f, check, console, f);
        const int exitCode = miner.connect() ? miner.run(f, f.stopped) : kExitUsage;
        std::fclose(out);
        const std::string all = std::string(text, size) + f.log;
        std::free(text);
        const std::string run = "exit " + std::to_string(exitCode) + ", " +
                                std::to_string(f.targets) + " searches, " +
                                std::to_string(miner.claimsAccepted()) + " accepted, claims" +
                                f.claimTimes + ", fetches" + f.fetchTimes;
        EXPECT_TRUE(run.starts_with(c.run) && !f.running) << run;
        for (const std::string& s : c.says) {
            EXPECT_NE(all.find(s), std::string::npos) << s << " in\n" << all;
        }
        // Only the part k is ever printed, and only for a solution that passed the check.
        EXPECT_EQ(all.find("Privkey: "), std::string::npos);
        EXPECT_EQ(all.find("PrivkeyPart: ") != std::string::npos, !f.claimTimes.empty());
        EXPECT_TRUE(std::ranges::all_of(all, [](char c) {
            return (c >= 0x20 && c < 0x7F) || c == '\n' || c == '\r';
        })) << all;
    }
}

} // namespace
