#include "core/search/StartDecision.h"

#include "core/search/GeneratorNames.h"
#include "core/search/PatternText.h"
#include "core/search/StartMessages.h"
#include "search/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

using testing::readBytes;
using testing::writeBytes;

const std::string kInvalidBox = std::string(kBoxInvalidError) + std::string(kPatternCharacters);
const std::string kInvalidFile = std::string(kFileInvalidError) + std::string(kPatternCharacters);
const std::string kBoxEmpty(kBoxEmptyError), kFileNone(kFileNoPatternsError);
constexpr auto Go = StartOutcome::Go, Error = StartOutcome::ConsoleError,
               Box = StartOutcome::MessageBox;

StartInputs box(std::string text, std::string_view app = kCpuGenerator, std::string reward = {}) {
    return {true, false, std::move(text), {}, std::string(app), std::move(reward)};
}

// Which characters a pattern may hold is checked against a model by the pattern text fuzz target.
TEST(PatternText, PatternCountAndTrim) {
    // Lines starting with 1 count; CRs are dropped and never start a line; no LF is needed last.
    for (const auto& [text, count] : {std::pair<std::string, int>{"", 0},
                                      {"1Abc\r\nAbc\r\n1", 2},
                                      {"1A\r\r\n1B\n", 2},
                                      {"\r1A", 1},
                                      {" 1A\na1\n\n11", 1}}) {
        EXPECT_EQ(CountPatterns(text), count) << text;
    }
    EXPECT_EQ(trimWhiteSpace(" \t\r\n\v\f1A\r\n1 B \t\r\n\v\f"), "1A\r\n1 B");
}

TEST(StartDecision, BoxBranchAndRewardAddress) {
    const std::string pool(kPoolMiner), boat = "1BoatSLRHtKNngkdXEeobR76b53LETtpyT";
    const std::tuple<StartInputs, StartOutcome, std::string, int, std::optional<std::string>>
        cases[] = {{box(""), Error, kBoxEmpty, 0, {}},
                   {box("  \r\n \r\n\t "), Error, kBoxEmpty, 0, {}},
                   {box("1Ab 1Cd"), Error, kInvalidBox, 0, {}},
                   {box("Abc\r\nXyz"), Error, std::string(kBoxNoPatternsError), 0, {}},
                   // Trimmed, every line kept, the box's CR LF kept and one CR LF added.
                   {box("\r\n 1Abc\r\nAbc\r\n1\r\n\r\n"), Go, "", 2, "1Abc\r\nAbc\r\n1\r\n"},
                   {box("1Abc\nAbc\n1"), Go, "", 2, "1Abc\nAbc\n1\n"},
                   {{false, false, "1Abc", {}, {}, {}}, Go, "", 0, {}}, // neither source
                   {box("1Abc", pool), Box, std::string(kNoRewardPrompt), 1, {}},
                   {box("1Abc", pool, boat + " "), Error, std::string(kRewardInvalidError), 1, {}},
                   {box("1Abc", pool, boat), Go, "", 1, "1Abc\n"},
                   {box("", pool), Error, kBoxEmpty, 0, {}}, // the box is checked first
                   {box("1Abc", kCpuGenerator, "not checked"), Go, "", 1, "1Abc\n"}};
    for (const auto& [in, outcome, message, count, fileBytes] : cases) {
        SCOPED_TRACE(in.boxText + " / " + in.rewardAddress);
        const StartDecision d = decideStart(in, ".");
        EXPECT_EQ(d.outcome, outcome);
        EXPECT_EQ(d.message, message);
        EXPECT_EQ(d.patternCount, count);
        EXPECT_EQ(d.patternsFileBytes, fileBytes);
    }
}

TEST(StartDecision, FileBranch) {
    // The path is relative to the working folder; no bytes: no such file.
    const std::tuple<const char*, std::optional<std::string>, StartOutcome, std::string, int>
        cases[] = {{"", {}, Box, std::string(kNoFileSelectedPrompt), 0},
                   {"missing.txt", {}, Box, std::string(kFileNotFoundPrompt), 0},
                   {"folder", {}, Box, std::string(kFileNotFoundPrompt), 0},
                   {"lists/l.txt", "", Error, kFileNone, 0},
                   {"lists/l.txt", "Abc\nXyz\n", Error, kFileNone, 0},
                   {"lists/l.txt", "\uFEFF1Abc\n", Error, kInvalidFile, 0}, // a byte order mark
                   // Not trimmed: leading blank lines are fine, a leading space is not; read
                   // up to the first NUL.
                   {"lists/l.txt", std::string("\n\n1Abc\0 x", 9), Go, "", 1},
                   {"lists/l.txt", " 1Abc", Error, kInvalidFile, 0}};
    testing::TempFolder dir;
    std::filesystem::create_directory(dir / "folder");
    for (const auto& [path, bytes, outcome, message, count] : cases) {
        SCOPED_TRACE(bytes.value_or(path));
        if (bytes) {
            writeBytes(dir / path, *bytes);
        }
        const StartDecision d = decideStart({false, true, {}, path, {}, {}}, dir.path());
        EXPECT_EQ(d.outcome, outcome);
        EXPECT_EQ(d.message, message);
        EXPECT_EQ(d.patternCount, count);
    }
    writeBytes(dir / "lists/l.txt", "1Abc\n");
    std::filesystem::permissions(dir / "lists/l.txt", std::filesystem::perms::none);
    const bool readable = !!std::ifstream(dir / "lists/l.txt"); // with rights that read any file
    EXPECT_EQ(decideStart({false, true, {}, "lists/l.txt", {}, {}}, dir.path()).message,
              readable ? "" : kFileUnreadableError);
}

TEST(StartDecision, PrepareStartWritesThePatternsFileForTheBoxOnly) {
    testing::TempFolder dir;
    const auto patterns = dir / "vanitygen" / "patterns.txt";
    EXPECT_EQ(prepareStart(box(" 1Abc\r\nAbc\r\n1 "), dir.path()).outcome, Go);
    EXPECT_EQ(readBytes(patterns), "1Abc\r\nAbc\r\n1\r\n");
    EXPECT_EQ(prepareStart(box("1Ab0"), dir.path()).outcome, Error);
    EXPECT_EQ(readBytes(patterns), "1Abc\r\nAbc\r\n1\r\n") << "a failed check leaves it alone";
    EXPECT_EQ(prepareStart(box("1Z"), dir.path()).outcome, Go);
    EXPECT_EQ(readBytes(patterns), "1Z\n");
    // A folder where the file should be: the generator would search stale patterns.
    std::filesystem::remove(patterns);
    std::filesystem::create_directory(patterns);
    EXPECT_EQ(prepareStart(box("1Abc"), dir.path()).message, kPatternsFileWriteError);
}

} // namespace
} // namespace tarwick
