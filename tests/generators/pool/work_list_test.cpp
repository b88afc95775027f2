// The getWork parser on canned pool answers: good lines in both key forms, repeats, and one
// warning for each malformed or impossible line.

#include "PoolVectors.h"
#include "ec_reference.h"
#include "pool/WorkList.h"

#include <gtest/gtest.h>

namespace {

using namespace tarwick;

std::string publicKeyHex(std::uint64_t key, bool compressed) {
    return test::toHex(test::referencePublicKey(test::keyFromUint64(key), compressed));
}

TEST(WorkList, ReadsGoodLinesAndDropsExactRepeats) {
    const std::string pa = publicKeyHex(777, false);
    const std::string body = "1Abc:" + pa + ":0:0.05;first\n" +                              //
                             "1Love:" + publicKeyHex(12345, true) + ":0:1.25;second\r\n\n" + //
                             "1Abc:" + pa + ":0:0.05;a repeat\n" +                           //
                             "1Abc:" + pa + ":0:0.2;another reward\n" +                      //
                             "3J98:" + pa + ":5:0.5\n"; // no comment
    std::vector<std::string> warnings;
    const auto items = pool::parseWorkList(body, warnings);
    EXPECT_TRUE(warnings.empty());
    ASSERT_EQ(items.size(), 4u);
    struct Expected {
        const char* pattern;
        std::string key; // uncompressed, as libsecp256k1 spells it
        int version;
        double reward, difficulty;
        const char* comment;
    };
    const Expected expected[] = {
        {"1Abc", pa, 0, 0.05, 77178, "first"},
        {"1Love", publicKeyHex(12345, false), 0, 1.25, 4476342, "second"},
        {"1Abc", pa, 0, 0.2, 77178, "another reward"},
        {"3J98", pa, 5, 0.5, 0, ""}, // difficulty: some
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Expected& e = expected[i];
        EXPECT_EQ(items[i].pattern, e.pattern);
        EXPECT_EQ(test::toHex(items[i].publicKey.data(), 65), e.key);
        EXPECT_EQ(items[i].addressVersion, e.version);
        EXPECT_DOUBLE_EQ(items[i].reward, e.reward);
        EXPECT_EQ(items[i].comment, e.comment);
        EXPECT_TRUE(e.difficulty == 0 ? items[i].difficulty > 0
                                      : items[i].difficulty == e.difficulty);
    }
}

TEST(WorkList, SkipsMalformedLinesWithPrintableWarnings) {
    const std::string pa = publicKeyHex(777, false);
    std::string offCurve = pa;
    offCurve[129] = offCurve[129] == '0' ? '1' : '0'; // y no longer fits x
    std::string junk;
    for (int i = 0; i < 2000; ++i)
        junk.push_back(static_cast<char>((i * 7919 + 13) % 256));
    const std::string bad[] = {
        "1Abc:" + pa + ":0\n",                      // too few fields
        "1Abc:" + pa + ":0:0.05:7;extra field\n",   //
        ":" + pa + ":0:0.05;no pattern\n",          //
        "1Abc:" + pa.substr(2) + ":0:0.05;short\n", // wrong key length
        "1Abc:" + offCurve + ":0:0.05;off curve\n", //
        "1Abc:" + pa + ":256:0.05;version > 255\n", //
        "1Abc:" + pa + ":x:0.05;version\n",         //
        "1Abc:" + pa + ":0:-1;negative reward\n",   //
        "1Abc:" + pa + ":0:1e3;exponent\n",         //
        "2abc:" + pa + ":0:0.05;impossible\n",      // for version 0
        "1Ab0:" + pa + ":0:0.05;not Base58\n",      //
        "1Xyz:" + pa + ":0:2;cut off",              // no LF
        junk,
    };
    for (const std::string& line : bad) {
        std::vector<std::string> warnings;
        EXPECT_TRUE(pool::parseWorkList(line, warnings).empty()) << line;
        ASSERT_FALSE(warnings.empty()) << line;
        EXPECT_TRUE(line == junk || warnings.size() == 1) << line;
        for (const std::string& w : warnings)
            for (const char c : w)
                ASSERT_TRUE(c >= 0x20 && c < 0x7F) << "a warning repeats raw bytes";
    }
}

} // namespace
