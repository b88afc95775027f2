#include "core/output/ProgressLine.h"

#include "../search/TempFolder.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

std::string lineOf(const TempFolder& dir, const std::string& content) {
    WriteBytes(dir / "stdout.log", content);
    return ReadProgressLine(dir / "stdout.log");
}

TEST(ProgressLine, MissingOrEmptyLogGivesNothing) {
    TempFolder dir;
    EXPECT_EQ(ReadProgressLine(dir / "stdout.log"), "");
    EXPECT_EQ(lineOf(dir, ""), "");
    EXPECT_EQ(lineOf(dir, "Difficulty: 77178\n"), "") << "no [ in the tail";
}

TEST(ProgressLine, TableOfLogs) {
    struct Case {
        std::string content;
        std::string line;
    };
    const Case cases[] = {
        {"[1][2 key/s][3][4]", "[2 key/s]  [3]  [4]  "},
        {"[5 key/s][6]\r[7 key/s][8]", "[7 key/s]  [8]  "},
        {"[2 key/s][3][4", "[2 key/s]  [3]  []  "}, // the child is still writing
        {"x[a]y[b]", "[a]  [b]  "},                 // no group holds the marker
        {"[1 KEY/S][2]", "[1 KEY/S]  [2]  "},       // the marker is case-sensitive
        {"[1 key/s]", "[1 key/s]  "},               // the group starts the file
        // As the generators write it: a status refreshed with CR, padded, no newline.
        {"Difficulty: 77178\n\r[944.12 Kkey/s][total 713472][Prob 0.0%][50% in 3901.0y]     "
         "\r[951.30 Kkey/s][total 1666944][Prob 0.0%][50% in 3871.9y]     ",
         "[951.30 Kkey/s]  [total 1666944]  [Prob 0.0%]  [50% in 3871.9y]  "},
        {"[a]\r\n[b key/s]\r\n[c]\r\n", "[b key/s]  [c]  "}, // line breaks never show
        {"[a]b]c]", "[abc]  "},                              // a second ] continues the same group
        {"[a key/s]xy", "[a key/s]  "},                      // text after the last group is ignored
        {"a]b[c key/s]", "[c key/s]  "},
        {"[[x key/s]", "[x key/s]  "},
        {"[x key/s][[y]", "[x key/s]  []  [y]  "},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        EXPECT_EQ(lineOf(dir, c.content), c.line) << c.content;
        EXPECT_EQ(ProgressLineFromTail(c.content), c.line) << c.content;
    }
}

TEST(ProgressLine, TailIsThreeHundredAndOneCharacters) {
    TempFolder dir;
    // 9 + 292 = 301 characters: the first one is inside the tail.
    EXPECT_EQ(lineOf(dir, "[a key/s]" + std::string(292, 'x')), "[a key/s]  ");
    // One more and the "[" falls out: the group is dropped, and nothing else is there.
    EXPECT_EQ(lineOf(dir, "[a key/s]" + std::string(293, 'x')), "");
    // A group whose "[" lies before the tail is dropped; the groups after it remain.
    const std::string late = "[c][d]";
    EXPECT_EQ(lineOf(dir, "[old key/s" + std::string(301 - 1 - late.size(), ']') + late),
              "[c]  [d]  ");
    EXPECT_EQ(lineOf(dir, std::string(5000, '\n') + "[b key/s" + std::string(292, ' ') + "]"),
              "[b key/s" + std::string(292, ' ') + "]  ");
}

TEST(ProgressLine, HugeLogIsReadOnlyAtItsEnd) {
    TempFolder dir;
    const auto log = dir / "stdout.log";
    WriteBytes(log, "[far away key/s][must not show]");
    // A sparse file of 1 GiB: fast to make, slow to read whole.
    std::filesystem::resize_file(log, std::uintmax_t{1} << 30);
    {
        std::ofstream out(log, std::ios::binary | std::ios::app);
        out << "\r[951.30 Kkey/s][total 1666944][Prob 0.0%]";
    }
    ASSERT_GT(std::filesystem::file_size(log), std::uintmax_t{1} << 30);

    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(ReadProgressLine(log), "[951.30 Kkey/s]  [total 1666944]  [Prob 0.0%]  ");
    }
    const auto took = std::chrono::steady_clock::now() - begin;
    // 200 whole reads would be 200 GiB; 200 tail reads take milliseconds.
    EXPECT_LT(took, std::chrono::seconds(5));
}

TEST(ProgressLine, NulBytesBetweenGroupsAreIgnored) {
    TempFolder dir;
    EXPECT_EQ(lineOf(dir, std::string(100, '\0') + "[r key/s]" + std::string(3, '\0') + "[t]"),
              "[r key/s]  [t]  ");
}

} // namespace
} // namespace tarwick
