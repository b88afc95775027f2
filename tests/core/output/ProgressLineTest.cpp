#include "core/output/ProgressLine.h"

#include "../search/TempFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

TEST(ProgressLine, GroupsUpToTheKeyRateInTheLogsLast301Characters) {
    const std::string late = "[c][d]", wide = "[b key/s" + std::string(292, ' ') + "]";
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Difficulty: 77178\n", ""},
        {"[1][2 key/s][3][4]", "[2 key/s]  [3]  [4]  "},
        {"[2 key/s][3][4", "[2 key/s]  [3]  []  "}, // the child is still writing
        {"x[a]y[b]", "[a]  [b]  "},                 // no group holds the marker
        {"[a]b]c]", "[abc]  "},                     // a second ] continues the same group
        {"[x key/s][[y]", "[x key/s]  []  [y]  "},
        {std::string(100, '\0') + "[r key/s]" + std::string(3, '\0') + "[t]", "[r key/s]  [t]  "},
        // As the generators write it: a status refreshed with CR, padded, no newline.
        {"Difficulty: 77178\n\r[944.12 Kkey/s][total 713472][Prob 0.0%][50% in 3901.0y]     "
         "\r[951.30 Kkey/s][total 1666944][Prob 0.0%][50% in 3871.9y]     ",
         "[951.30 Kkey/s]  [total 1666944]  [Prob 0.0%]  [50% in 3871.9y]  "},
        // 9 + 292 = 301 characters: the "[" is the tail's first; one more and it falls out.
        {"[a key/s]" + std::string(292, 'x'), "[a key/s]  "},
        {"[a key/s]" + std::string(293, 'x'), ""},
        // A group whose "[" lies before the tail is dropped; the groups after it remain.
        {"[old key/s" + std::string(301 - 1 - late.size(), ']') + late, "[c]  [d]  "},
        {std::string(5000, '\n') + wide, wide + "  "},
    };
    testing::TempFolder dir;
    EXPECT_EQ(ReadProgressLine(dir / "stdout.log"), "");
    for (const auto& [content, line] : cases) {
        testing::WriteBytes(dir / "stdout.log", content);
        EXPECT_EQ(ReadProgressLine(dir / "stdout.log"), line) << content;
    }
}

} // namespace
} // namespace tarwick
