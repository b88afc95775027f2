#include "core/search/StartDecision.h"

#include "TempFolder.h"
#include "core/search/GeneratorNames.h"
#include "core/search/PatternText.h"
#include "core/search/StartMessages.h"

#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::string invalidBox() {
    return std::string(kBoxInvalidError) + std::string(kPatternCharacters);
}
std::string invalidFile() {
    return std::string(kFileInvalidError) + std::string(kPatternCharacters);
}

StartInputs box(std::string text, std::string app = std::string(kCpuGenerator)) {
    StartInputs in;
    in.patternsFromBox = true;
    in.boxText = std::move(text);
    in.externalApp = std::move(app);
    return in;
}

StartInputs file(std::string path, std::string app = std::string(kCpuGenerator)) {
    StartInputs in;
    in.patternsFromFile = true;
    in.patternsFilePath = std::move(path);
    in.externalApp = std::move(app);
    return in;
}

TEST(StartDecision, InvalidCharactersMessageEndsWithTheSetAndItsLineBreak) {
    EXPECT_EQ(invalidBox(), "[ERROR]\n'Patterns to search' box contains invalid characters.\n"
                            "Valid characters are: 123456789ABCDEFGHJKLMNPQRSTUVWXYZ"
                            "abcdefghijkmnopqrstuvwxyz\r\n");
}

TEST(StartDecision, BoxBranch) {
    struct Case {
        std::string text;
        StartOutcome outcome;
        std::string message;
        int count;
        std::string fileBytes;
    };
    const std::string none;
    const Case cases[] = {
        {"", StartOutcome::ConsoleError, std::string(kBoxEmptyError), 0, none},
        {"  \r\n \r\n\t ", StartOutcome::ConsoleError, std::string(kBoxEmptyError), 0, none},
        {"1Ab 1Cd", StartOutcome::ConsoleError, invalidBox(), 0, none},
        {"1Ab\t1Cd", StartOutcome::ConsoleError, invalidBox(), 0, none},
        {"1Mary0", StartOutcome::ConsoleError, invalidBox(), 0, none},
        {"Abc\r\nXyz", StartOutcome::ConsoleError, std::string(kBoxNoPatternsError), 0, none},
        // Trimmed, every line kept, the box's CR LF kept and one CR LF added.
        {"\r\n 1Abc\r\nAbc\r\n1\r\n\r\n", StartOutcome::Go, "", 2, "1Abc\r\nAbc\r\n1\r\n"},
        {"1Abc\nAbc\n1", StartOutcome::Go, "", 2, "1Abc\nAbc\n1\n"},
    };
    for (const Case& c : cases) {
        const StartDecision d = DecideStart(box(c.text), ".");
        EXPECT_EQ(d.outcome, c.outcome) << c.text;
        EXPECT_EQ(d.message, c.message) << c.text;
        EXPECT_EQ(d.patternCount, c.count) << c.text;
        EXPECT_EQ(d.patternsFileBytes.value_or(""), c.fileBytes) << c.text;
    }
}

TEST(StartDecision, FileBranch) {
    struct Case {
        std::string bytes;
        StartOutcome outcome;
        std::string message;
        int count;
    };
    const Case cases[] = {
        {"", StartOutcome::ConsoleError, std::string(kFileNoPatternsError), 0},
        {"1Abc\n1Xyz\n", StartOutcome::Go, "", 2},
        {"1Abc\r\n1Xyz\r\n", StartOutcome::Go, "", 2},
        {"Abc\nXyz\n", StartOutcome::ConsoleError, std::string(kFileNoPatternsError), 0},
        {"\xEF\xBB\xBF"
         "1Abc\n",
         StartOutcome::ConsoleError, invalidFile(), 0},
        {"1Abc\t\n", StartOutcome::ConsoleError, invalidFile(), 0},
        {"1Abc \n", StartOutcome::ConsoleError, invalidFile(), 0},
        // Not trimmed: leading blank lines are fine, a leading space is not.
        {"\n\n1Abc", StartOutcome::Go, "", 1},
        {" 1Abc", StartOutcome::ConsoleError, invalidFile(), 0},
        // The text ends at the first NUL: what follows is neither checked nor counted.
        {std::string("1Abc\n\0 !!0OIl\n1Xyz", 18), StartOutcome::Go, "", 1},
        {std::string("\0"
                     "1Abc",
                     5),
         StartOutcome::ConsoleError, std::string(kFileNoPatternsError), 0},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        WriteBytes(dir / "list.txt", c.bytes);
        const StartDecision d = DecideStart(file((dir / "list.txt").string()), dir.path());
        EXPECT_EQ(d.outcome, c.outcome) << c.bytes;
        EXPECT_EQ(d.message, c.message) << c.bytes;
        EXPECT_EQ(d.patternCount, c.count) << c.bytes;
        EXPECT_FALSE(d.patternsFileBytes.has_value()) << "the user's file is never copied";
    }
}

TEST(StartDecision, FileBranchPrompts) {
    TempFolder dir;
    StartDecision d = DecideStart(file(""), dir.path());
    EXPECT_EQ(d.outcome, StartOutcome::MessageBox);
    EXPECT_EQ(d.message, kNoFileSelectedPrompt);

    d = DecideStart(file((dir / "missing.txt").string()), dir.path());
    EXPECT_EQ(d.outcome, StartOutcome::MessageBox);
    EXPECT_EQ(d.message, kFileNotFoundPrompt);

    // A folder is not a patterns file.
    std::filesystem::create_directories(dir / "folder");
    d = DecideStart(file((dir / "folder").string()), dir.path());
    EXPECT_EQ(d.outcome, StartOutcome::MessageBox);
    EXPECT_EQ(d.message, kFileNotFoundPrompt);
}

TEST(StartDecision, RelativeFilePathIsTakenFromTheWorkingFolder) {
    TempFolder dir;
    WriteBytes(dir / "lists" / "mine.txt", "1Abc\n");
    const StartDecision d = DecideStart(file("lists/mine.txt"), dir.path());
    EXPECT_EQ(d.outcome, StartOutcome::Go);
    EXPECT_EQ(d.patternCount, 1);
}

TEST(StartDecision, NeitherSourceChecksNothingAndCountsZero) {
    StartInputs in;
    in.externalApp = kGpuGenerator;
    const StartDecision d = DecideStart(in, ".");
    EXPECT_EQ(d.outcome, StartOutcome::Go);
    EXPECT_EQ(d.patternCount, 0);
    EXPECT_FALSE(d.patternsFileBytes.has_value());
}

TEST(StartDecision, PoolMinerRewardAddress) {
    const std::string pool(kPoolMiner);
    StartInputs in = box("1Abc", pool);

    in.rewardAddress = "";
    StartDecision d = DecideStart(in, ".");
    EXPECT_EQ(d.outcome, StartOutcome::MessageBox);
    EXPECT_EQ(d.message, kNoRewardPrompt);

    in.rewardAddress = "1BoatSLRHtKNngkdXEeobR76b53LETtpyT ";
    d = DecideStart(in, ".");
    EXPECT_EQ(d.outcome, StartOutcome::ConsoleError);
    EXPECT_EQ(d.message, kRewardInvalidError);

    in.rewardAddress = "1BoatSLRHtKNngkdXEeobR76b53LETtpyT";
    d = DecideStart(in, ".");
    EXPECT_EQ(d.outcome, StartOutcome::Go);
    EXPECT_EQ(d.patternCount, 1);

    // The box is checked first, even though the miner gets no patterns.
    in.boxText = "";
    in.rewardAddress = "";
    d = DecideStart(in, ".");
    EXPECT_EQ(d.outcome, StartOutcome::ConsoleError);
    EXPECT_EQ(d.message, kBoxEmptyError);

    // Other generators never look at the reward address.
    in = box("1Abc");
    in.rewardAddress = "not checked";
    EXPECT_EQ(DecideStart(in, ".").outcome, StartOutcome::Go);
}

TEST(StartDecision, PrepareStartWritesThePatternsFileForTheBoxOnly) {
    TempFolder dir;
    StartDecision d = PrepareStart(box(" 1Abc\r\nAbc\r\n1 "), dir.path());
    ASSERT_EQ(d.outcome, StartOutcome::Go);
    EXPECT_EQ(ReadBytes(dir / "vanitygen" / "patterns.txt"), "1Abc\r\nAbc\r\n1\r\n");

    // A failed check leaves the previous file alone.
    d = PrepareStart(box("1Ab0"), dir.path());
    EXPECT_EQ(d.outcome, StartOutcome::ConsoleError);
    EXPECT_EQ(ReadBytes(dir / "vanitygen" / "patterns.txt"), "1Abc\r\nAbc\r\n1\r\n");

    // A shorter list truncates the file.
    d = PrepareStart(box("1Z"), dir.path());
    EXPECT_EQ(d.outcome, StartOutcome::Go);
    EXPECT_EQ(ReadBytes(dir / "vanitygen" / "patterns.txt"), "1Z\n");
}

TEST(StartDecision, PatternsFileThatCannotBeWrittenStopsTheStart) {
    TempFolder dir;
    // A folder where the file should be: the generator would search stale patterns.
    std::filesystem::create_directories(dir / "vanitygen" / "patterns.txt");
    const StartDecision d = PrepareStart(box("1Abc"), dir.path());
    EXPECT_EQ(d.outcome, StartOutcome::ConsoleError);
    EXPECT_EQ(d.message, kPatternsFileWriteError);
}

TEST(StartDecision, UnreadablePatternsFileIsReported) {
    TempFolder dir;
    WriteBytes(dir / "locked.txt", "1Abc\n");
    std::filesystem::permissions(dir / "locked.txt", std::filesystem::perms::none);
    if (std::ifstream(dir / "locked.txt")) {
        GTEST_SKIP() << "running with rights that read any file";
    }
    const StartDecision d = DecideStart(file((dir / "locked.txt").string()), dir.path());
    EXPECT_EQ(d.outcome, StartOutcome::ConsoleError);
    EXPECT_EQ(d.message, kFileUnreadableError);
}

} // namespace
} // namespace tarwick
