// Pattern files: every line ending the generators meet, empty lines, a missing last line
// break, and an unreadable path.

#include "engine/match/PatternFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using tarwick::engine::readPatternFile;
using Lines = std::vector<std::string>;

TEST(PatternFile, ReadsEveryLineEndingAndNeverAnEmptyPattern) {
    const auto dir = std::filesystem::path(::testing::TempDir()) /
                     ("tarwick-patterns-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / "patterns.txt";
    struct Case {
        const char* content;
        Lines lines;
    };
    const Lines three = {"1Ab", "1Love", "1xyz"};
    const Case cases[] = {
        {"1Ab\n1Love\n1xyz\n", three},
        {"1Ab\r\n1Love\r\n1xyz\r\n", three},
        {"1Ab\r\r\n1Love\r\r\n1xyz\r\r\n", three},
        {"1Ab\r1Love\r1xyz\r", three},
        {"1Ab\n1Love\r\n1xyz\r\r\n", three},
        {"1Ab\r\n1Love", {"1Ab", "1Love"}}, // no line break at the end
        {"\n1Ab\n", {"1Ab"}},
        {"\r\n\r\n1Ab\n\n\n1Cd\r\r\n\r\r\n", {"1Ab", "1Cd"}},
        {"", {}},
        {"\r\n", {}},
        {"1Ab \n 1Cd\n", {"1Ab ", " 1Cd"}}, // spaces stay, for the validator to report
    };
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary) << c.content;
        bool ok = false;
        EXPECT_EQ(readPatternFile(path.string(), ok), c.lines) << c.content;
        EXPECT_TRUE(ok);
    }
    for (const auto& unreadable : {dir / "missing.txt", dir}) {
        bool ok = true;
        EXPECT_TRUE(readPatternFile(unreadable.string(), ok).empty());
        EXPECT_FALSE(ok) << unreadable;
    }
    std::filesystem::remove_all(dir);
}

} // namespace
