// Pattern files: every line ending the generators meet, empty lines, a missing last line
// break, and an unreadable path.

#include "engine/match/PatternFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using tarwick::engine::readPatternFile;
using Lines = std::vector<std::string>;

class PatternFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tarwick-patterns-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    Lines read(const std::string& content, bool expectOk = true) {
        const auto path = dir_ / "patterns.txt";
        std::ofstream(path, std::ios::binary) << content;
        bool ok = !expectOk;
        Lines lines = readPatternFile(path.string(), ok);
        EXPECT_EQ(ok, expectOk);
        return lines;
    }

    std::filesystem::path dir_;
};

TEST_F(PatternFile, EveryLineEndingReadsAlike) {
    const Lines expected = {"1Ab", "1Love", "1xyz"};
    EXPECT_EQ(read("1Ab\n1Love\n1xyz\n"), expected);
    EXPECT_EQ(read("1Ab\r\n1Love\r\n1xyz\r\n"), expected);
    EXPECT_EQ(read("1Ab\r\r\n1Love\r\r\n1xyz\r\r\n"), expected);
    EXPECT_EQ(read("1Ab\r1Love\r1xyz\r"), expected);
    EXPECT_EQ(read("1Ab\n1Love\r\n1xyz\r\r\n"), expected);
}

TEST_F(PatternFile, LastLineWithoutLineBreakCounts) {
    EXPECT_EQ(read("1Ab\r\n1Love"), (Lines{"1Ab", "1Love"}));
    EXPECT_EQ(read("1Ab"), (Lines{"1Ab"}));
}

TEST_F(PatternFile, LeadingAndEmptyLinesNeverGiveAnEmptyPattern) {
    EXPECT_EQ(read("\n1Ab\n"), (Lines{"1Ab"}));
    EXPECT_EQ(read("\r\n\r\n1Ab\n\n\n1Cd\r\r\n\r\r\n"), (Lines{"1Ab", "1Cd"}));
    EXPECT_EQ(read(""), Lines{});
    EXPECT_EQ(read("\r\n"), Lines{});
}

TEST_F(PatternFile, SpacesAreKeptForTheValidatorToReport) {
    EXPECT_EQ(read("1Ab \n 1Cd\n"), (Lines{"1Ab ", " 1Cd"}));
}

TEST_F(PatternFile, UnreadableFileIsNotOk) {
    bool ok = true;
    EXPECT_TRUE(readPatternFile((dir_ / "missing.txt").string(), ok).empty());
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_TRUE(readPatternFile(dir_.string(), ok).empty()); // a folder
    EXPECT_FALSE(ok);
}

} // namespace
