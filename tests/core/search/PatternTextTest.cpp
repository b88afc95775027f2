#include "core/search/PatternText.h"

#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

TEST(PatternText, CharacterSetIsBase58ThenCrLf) {
    EXPECT_EQ(kPatternCharacters.size(), 60u);
    EXPECT_EQ(kPatternCharacters.substr(58), "\r\n");
    for (const char excluded : std::string("0OIl")) {
        EXPECT_EQ(kPatternCharacters.find(excluded), std::string_view::npos) << excluded;
    }
}

TEST(PatternText, IsBase58TextAcceptsOnlyTheSet) {
    struct Case {
        std::string text;
        bool accepted;
    };
    const Case cases[] = {
        {"", true},
        {"1Mary", true},
        {"1Abc\r\nAbc\r\n1", true},
        {"1abc\n1xyz", true},
        {std::string(kPatternCharacters), true},
        {"1Ab c", false},    // a space between patterns
        {"1Ab\t1Cd", false}, // a tab
        {"10", false},
        {"1O", false},
        {"1I", false},
        {"1l", false},
        {"\xEF\xBB\xBF"
         "1Abc",
         false},          // UTF-8 byte-order mark
        {"1Abc ", false}, // trailing space
        {std::string("1A\0B", 4), false},
        {"1Ab+", false},
        {"\xFF", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsBase58Text(c.text), c.accepted) << '"' << c.text << '"';
    }
}

TEST(PatternText, CountPatternsCountsLinesStartingWithOne) {
    struct Case {
        std::string text;
        int count;
    };
    const Case cases[] = {
        {"", 0},
        {"1", 1},
        {"1Abc\r\nAbc\r\n1", 2}, // the first and the third line
        {"1Abc\nAbc\n1", 2},
        {"1A\n1B\n", 2},         // the empty last line is not counted
        {"1A\r\n1B\r\n", 2},     // CR LF counts as LF
        {"1A\r\r\n1B\r\r\n", 2}, // so does CR CR LF
        {"\r1A", 1},             // a CR never starts a line
        {"Abc\nXyz", 0},
        {"\n\n\n", 0},
        {" 1A", 0},
        {"11\n111", 2},
        {"a1\n1a", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CountPatterns(c.text), c.count) << '"' << c.text << '"';
    }
}

TEST(PatternText, TrimRemovesTheSixBlanksAtBothEnds) {
    EXPECT_EQ(TrimWhiteSpace(" \t\r\n\v\f1A\r\n1B \t\r\n\v\f"), "1A\r\n1B");
    EXPECT_EQ(TrimWhiteSpace("  \r\n \r\n\t"), "");
    EXPECT_EQ(TrimWhiteSpace(""), "");
    EXPECT_EQ(TrimWhiteSpace("1A B"), "1A B");
}

} // namespace
} // namespace tarwick
