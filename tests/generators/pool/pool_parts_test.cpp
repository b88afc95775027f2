// The miner's parts: its command line, the reward address, the claim's encoding, the pool's
// work list and the cap on the work it takes; the split-key walker and the independent check,
// against libsecp256k1.

#include "PoolVectors.h"
#include "ec_reference.h"
#include "pool/ClaimUrl.h"
#include "pool/MinerOptions.h"
#include "pool/RewardAddress.h"
#include "pool/SplitKeyCheck.h"
#include "pool/SplitKeyWalker.h"
#include "pool/WorkList.h"
#include "pool/WorkSelection.h"

#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace {

using namespace tarwick;
using namespace tarwick::pool;
using test::Key;

TEST(MinerOptions, RefusedCommandLines) {
    for (const char* line : {"-a1x", "-uhttps://p/", "-uftp://p/ -a1x", "-uhttps://p/ -a1x -i0",
                             "-uhttps://p/ -a1x -t5s", "-uhttps://p/ -a1x -q", "-uhttps://p/ -a",
                             "-uhttps://p/ -a1x 1Abc" /* the pool chooses the patterns */}) {
        std::istringstream in(line);
        const std::vector<std::string> args{std::istream_iterator<std::string>(in), {}};
        MinerOptions options;
        std::string reason;
        EXPECT_TRUE(!parseMinerOptions(args, options, reason) && !reason.empty()) << line;
    }
}

TEST(RewardAddress, P2pkhAndP2shOnly) {
    const std::pair<const char*, bool> cases[] = {
        {"1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm", true},
        {"3J98t1WpEZ73CNmQviecrnyiWrnqRhWNLy", true},
        {"", false},
        {"1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZ0", false},                  // not Base58
        {"5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAnchuDf", false}, // a private key
        {"mipcBbFg9gMiCh81Kj8tqqdgoZub1ZJRfn", false},                  // test network
    };
    for (const auto& [address, good] : cases)
        EXPECT_EQ(rewardAddressProblem(address).empty(), good) << address;
}

TEST(ClaimUrl, OddCharactersArePercentEncoded) {
    const std::string url =
        claimUrl("http://h", "1a&b=c", {}, engine::Scalar::fromUint64(1), "1 y");
    EXPECT_TRUE(url.starts_with("http://h/solve?key=1a%26b%3Dc%3A00") &&
                url.ends_with("01&bitcoinAddress=1%20y"))
        << url;
}

TEST(WorkList, SkipsMalformedLinesWithPrintableWarnings) {
    const std::string pa = test::toHex(test::referencePublicKey(test::keyFromUint64(777), false));
    std::string offCurve = pa, junk;
    offCurve[129] = offCurve[129] == '0' ? '1' : '0'; // y no longer fits x
    for (int i = 0; i < 2000; ++i)
        junk.push_back(static_cast<char>((i * 7919 + 13) % 256));
    std::vector<std::string> bad = {junk, "1Abc:" + pa.substr(2) + ":0:0.05\n",
                                    "1Abc:" + offCurve + ":0:0.05\n"};
    for (std::string form : {"1Abc:K:0\n", "1Abc:K:0:0.05:7;extra field\n", ":K:0:0.05\n",
                             "1Abc:K:256:0.05\n", "1Abc:K:x:0.05\n", "1Abc:K:0:-1\n",
                             "1Abc:K:0:1e3\n", "2abc:K:0:0.05\n", "1Ab0:K:0:0.05\n", "1Xyz:K:0:2"})
        bad.push_back(form.replace(form.find('K'), 1, pa));
    for (const std::string& line : bad) {
        std::vector<std::string> warnings;
        EXPECT_TRUE(parseWorkList(line, warnings).empty()) << line;
        EXPECT_TRUE(line == junk ? !warnings.empty() : warnings.size() == 1) << line;
        for (const std::string& w : warnings)
            EXPECT_TRUE(std::all_of(w.begin(), w.end(), [](char c) {
                return c >= 0x20 && c < 0x7F;
            })) << "a warning repeats raw bytes";
    }
}

WorkItem item(std::uint8_t key, const std::string& pattern, double reward, double difficulty) {
    WorkItem w;
    w.publicKey.fill(key);
    w.publicKey[0] = 4;
    w.pattern = pattern, w.reward = reward, w.difficulty = difficulty;
    return w;
}

TEST(WorkSelection, TiesAndTheCapOnAGroupAndItsLine) {
    EXPECT_FALSE(selectWork({}));
    EXPECT_EQ(selectWork({item(5, "1Ab", 0, 1330), item(6, "1Ab", 0, 1330)})->publicKey[1], 5);
    std::vector<WorkItem> items = {item(1, "1Ab", 0.001, 1330)};
    for (int i = 0; i < 1000; ++i) // 1,000 items for the most valuable key
        items.push_back(item(0xEE, "1Abc" + std::to_string(i % 10), 0.01 + i * 1e-6, 77178));
    const auto group = selectWork(items);
    ASSERT_TRUE(group && group->publicKey[1] == 0xEE && group->items.size() == kMaxGroupItems);
    EXPECT_DOUBLE_EQ(group->items.front().reward, 0.01 + 999e-6); // the most valuable first
    const std::string line = workLine(*group);
    EXPECT_TRUE(
        line.starts_with("Work: 256 patterns for public key 04EEEEEEEE..EEEEEE, ") &&
        line.ends_with(" and " + std::to_string(kMaxGroupItems - kPatternsShown) + " more") &&
        line.size() < 300)
        << line;
}

std::array<std::uint8_t, 65> publicKeyOf(const Key& key) {
    const test::Bytes p = test::referencePublicKey(key, false);
    std::array<std::uint8_t, 65> out{};
    std::copy(p.begin(), p.end(), out.begin());
    return out;
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
        const auto p = publicKeyOf(a);
        engine::AffinePoint start;
        engine::Scalar offset;
        ASSERT_TRUE(engine::FieldElement::fromBytes(p.data() + 1, start.x) &&
                    engine::FieldElement::fromBytes(p.data() + 33, start.y) &&
                    engine::Scalar::fromBytes(first.data(), offset));
        start.infinity = false;
        SplitKeyWalker walker(size);
        walker.start(start, offset);
        std::vector<engine::AffinePoint> points(walker.batchSize());
        for (int batch = 0; batch < 3; ++batch) {
            const engine::Scalar base = walker.firstOffset();
            walker.next(points.data());
            for (std::size_t i = 0; i < points.size(); ++i) {
                Key k;
                engine::scalarAdd(base, engine::Scalar::fromUint64(i)).toBytes(k.data());
                test::Bytes point(65);
                if (!points[i].infinity)
                    engine::serializePoint(points[i], false, point.data());
                // P + k*G = (a + k)*G, the point at infinity where k = n - a.
                ASSERT_EQ(points[i].infinity ? test::Bytes() : point,
                          k == test::referenceKeyNegated(a)
                              ? test::Bytes()
                              : test::referencePublicKey(test::referenceKeyPlus(a, k), false))
                    << size << " batch " << batch << " point " << i;
            }
        }
    }
}

TEST(SplitKey, CheckAcceptsOnlyTheRightSolution) {
    const Key a = test::keyFromHex(test::kRequesterKey),
              past = test::keyFromHex(std::string(64, 'F'));
    const auto k = test::keyFromUint64;
    const std::string vector = test::kVectorAddress, g = test::kRewardAddress; // G's address
    const std::tuple<Key, Key, std::uint8_t, const char*, std::string, bool> cases[] = {
        {kMinusOne, k(2), 0, "1EHN", g, true}, // (n - 1 + 2) G = G
        {kMinusOne, k(1), 0, "1", "", false},  // the point at infinity
        {a, k(test::kVectorOffset), 0, "1Abd", vector, false},
        {a, k(test::kVectorOffset), 0, "1abc", vector, false}, // the pool is case-sensitive
        {a, k(test::kVectorOffset), 0, "", vector, false},
        {a, k(test::kVectorOffset), 111, "1Abc", vector, false},
        {a, past, 0, "1Abc", vector, false}, // k beyond n
    };
    const SplitKeyCheck check;
    for (const auto& [key, offset, version, pattern, address, good] : cases)
        EXPECT_EQ(check.problem({pattern, publicKeyOf(key), version, offset, address}).empty(),
                  good)
            << pattern << " " << int(version) << " " << test::toHex(offset);
}

} // namespace
