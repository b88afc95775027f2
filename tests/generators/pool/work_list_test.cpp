// The getWork parser on canned pool answers: good lines in both key forms, malformed lines,
// impossible prefixes, repeats and a last line without a line break.

#include "PoolVectors.h"
#include "TestPool.h"
#include "ec_reference.h"
#include "pool/WorkList.h"

#include <gtest/gtest.h>

namespace {

using namespace tarwick;
using tarwick::test::Key;

std::string publicKeyHex(const Key& key, bool compressed) {
    return test::toHex(test::referencePublicKey(key, compressed));
}

std::string hexOf(const std::array<std::uint8_t, 65>& key) {
    return test::toHex(key.data(), key.size());
}

TEST(WorkList, ReadsGoodLinesAndSkipsMalformedOnes) {
    const Key a = test::keyFromHex(test::kRequesterKey);
    const Key b = test::keyFromUint64(12345);
    const std::string pa = publicKeyHex(a, false);
    const std::string pbCompressed = publicKeyHex(b, true);
    std::string offCurve = pa;
    offCurve[129] = offCurve[129] == '0' ? '1' : '0';           // y no longer fits x
    const std::string body = "1Abc:" + pa + ":0:0.05;first\n" + // good, uncompressed
                             "1Love:" + pbCompressed +
                             ":0:1.25;second\r\n" +                // good, compressed key, CR LF
                             "\n" +                                // empty: ignored quietly
                             "1Abc:" + pa + ":0:0.05;a repeat\n" + // repeat: ignored quietly
                             "1Abc:" + pa + ":0\n" +               // too few fields
                             "1Abc:" + pa + ":0:0.05:7;extra field\n" +        // too many fields
                             ":" + pa + ":0:0.05;no pattern\n" +               // empty pattern
                             "1Abc:" + pa.substr(2) + ":0:0.05;short key\n" +  // wrong length
                             "1Abc:" + offCurve + ":0:0.05;off the curve\n" +  // not a point
                             "1Abc:" + pa + ":256:0.05;version too big\n" +    // version not a byte
                             "1Abc:" + pa + ":x:0.05;version not a number\n" + //
                             "1Abc:" + pa + ":0:-1;negative reward\n" +        //
                             "1Abc:" + pa + ":0:1e3;exponent\n" +              //
                             "2abc:" + pa + ":0:0.05;impossible for version 0\n" + //
                             "1Ab0:" + pa + ":0:0.05;not Base58\n" +               //
                             "3J98:" + pa + ":5:0.5\n" +    // good, P2SH version, no comment
                             "1Xyz:" + pa + ":0:2;cut off"; // no LF: skipped
    std::vector<std::string> warnings;
    const auto items = pool::parseWorkList(body, warnings);

    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].pattern, "1Abc");
    EXPECT_EQ(hexOf(items[0].publicKey), pa);
    EXPECT_EQ(items[0].addressVersion, 0);
    EXPECT_DOUBLE_EQ(items[0].reward, 0.05);
    EXPECT_EQ(items[0].comment, "first");
    EXPECT_DOUBLE_EQ(items[0].difficulty, 77178);

    EXPECT_EQ(items[1].pattern, "1Love");
    // The compressed key comes out uncompressed, as libsecp256k1 spells it.
    EXPECT_EQ(hexOf(items[1].publicKey), publicKeyHex(b, false));
    EXPECT_DOUBLE_EQ(items[1].reward, 1.25);
    EXPECT_EQ(items[1].comment, "second");
    EXPECT_DOUBLE_EQ(items[1].difficulty, 4476342);

    EXPECT_EQ(items[2].pattern, "3J98");
    EXPECT_EQ(items[2].addressVersion, 5);
    EXPECT_EQ(items[2].comment, "");
    EXPECT_GT(items[2].difficulty, 0);

    // One warning per skipped line: 11 malformed or impossible, and the cut-off last line.
    ASSERT_EQ(warnings.size(), 12u);
    EXPECT_NE(warnings.back().find("without a line break"), std::string::npos);
    EXPECT_NE(warnings[9].find("not possible"), std::string::npos) << warnings[9];
}

TEST(WorkList, SameKeyAndPatternWithAnotherRewardIsAnotherItem) {
    const std::string pa = publicKeyHex(test::keyFromUint64(777), false);
    std::vector<std::string> warnings;
    const auto items = pool::parseWorkList(
        "1Ab:" + pa + ":0:0.1;x\n1Ab:" + pa + ":0:0.2;y\n1Ab:" + pa + ":0:0.1;z\n", warnings);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_DOUBLE_EQ(items[0].reward, 0.1);
    EXPECT_DOUBLE_EQ(items[1].reward, 0.2);
    EXPECT_TRUE(warnings.empty());
}

TEST(WorkList, EmptyAndGarbageBodies) {
    std::vector<std::string> warnings;
    EXPECT_TRUE(pool::parseWorkList("", warnings).empty());
    EXPECT_TRUE(warnings.empty());
    std::string junk;
    for (int i = 0; i < 2000; ++i)
        junk.push_back(static_cast<char>((i * 7919 + 13) % 256));
    EXPECT_TRUE(pool::parseWorkList(junk, warnings).empty());
    EXPECT_FALSE(warnings.empty());
    for (const std::string& w : warnings) {
        for (const char c : w) {
            const auto u = static_cast<unsigned char>(c);
            EXPECT_TRUE(u >= 0x20 && u < 0x7F) << "a warning repeats raw bytes";
        }
    }
}

TEST(WorkList, UpperHex) {
    const std::uint8_t bytes[] = {0x00, 0x0f, 0xa0, 0xff};
    EXPECT_EQ(pool::upperHex(bytes, sizeof bytes), "000FA0FF");
}

} // namespace
