#include "core/search/PatternText.h"

#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

TEST(PatternText, IsBase58TextAcceptsOnlyBase58CrLf) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz\r\n", true},
        {"10", false},
        {"1O", false},
        {"1I", false},
        {"1l", false},
        {"1Ab c", false},
        {"1Ab\t1Cd", false},
        {std::string("1A\0B", 4), false},
        {"\xEF\xBB\xBF"
         "1A",
         false}, // UTF-8 byte-order mark
    };
    for (const auto& [text, accepted] : cases) {
        EXPECT_EQ(IsBase58Text(text), accepted) << '"' << text << '"';
    }
}

TEST(PatternText, CountPatternsCountsLinesStartingWithOne) {
    const std::pair<std::string, int> cases[] = {
        {"", 0},
        {"1Abc\r\nAbc\r\n1", 2}, // the last line needs no LF
        {"1A\r\r\n1B\n", 2},     // CRs are dropped; the empty last line is no pattern
        {"\r1A", 1},             // a CR never starts a line
        {" 1A\na1\n\n11", 1},
    };
    for (const auto& [text, count] : cases) {
        EXPECT_EQ(CountPatterns(text), count) << '"' << text << '"';
    }
}

TEST(PatternText, TrimRemovesTheSixBlanksAtBothEnds) {
    EXPECT_EQ(TrimWhiteSpace(" \t\r\n\v\f1A\r\n1 B \t\r\n\v\f"), "1A\r\n1 B");
    EXPECT_EQ(TrimWhiteSpace("  \r\n \r\n\t"), "");
}

} // namespace
} // namespace tarwick
