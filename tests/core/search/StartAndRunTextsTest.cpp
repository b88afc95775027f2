#include "core/output/ProgressLine.h"
#include "core/search/ClosingMessage.h"
#include "core/search/ElapsedTime.h"
#include "core/search/GeneratorCommand.h"
#include "core/search/HeatPause.h"
#include "core/search/PatternText.h"
#include "core/search/StartDecision.h"
#include "core/search/StartMessages.h"
#include "search/TempFolder.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

using namespace std::chrono_literals;
using testing::readBytes;
using testing::writeBytes;
using Strings = std::vector<std::string>;

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
    std::string counts;
    for (const char* text : {"", "1Abc\r\nAbc\r\n1", "1A\r\r\n1B\n", "\r1A", " 1A\na1\n\n11"}) {
        counts += std::to_string(CountPatterns(text));
    }
    EXPECT_EQ(counts, "02211");
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
        EXPECT_EQ(std::tie(d.outcome, d.message, d.patternCount, d.patternsFileBytes),
                  std::tie(outcome, message, count, fileBytes));
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
                   // Not trimmed (a leading space is no pattern), read up to the first NUL.
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
        EXPECT_EQ(std::tie(d.outcome, d.message, d.patternCount),
                  std::tie(outcome, message, count));
    }
    // A file that opens but fails to read (EIO at its start), as on a failing disk, for root too.
    EXPECT_EQ(decideStart({false, true, {}, "/proc/self/mem", {}, {}}, dir.path()).message,
              kFileUnreadableError);
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

TEST(ClosingMessage, FirstCaseThatHoldsWinsAndFailedStartReadsTheLog) {
    const std::string failed(kStartFailedMessage), noOpenCl(kNoOpenClMessage), listing = "0: x\n";
    const ClosingMessage canceled{std::string(kCanceledMessage), ConsoleStyle::Canceled};
    const ClosingMessage paused{std::string(kPausedMessage), ConsoleStyle::Heading};
    const ClosingMessage completed{std::string(kCompletedMessage), ConsoleStyle::Completed};
    const auto error = [](std::string text) { return ClosingMessage{text, ConsoleStyle::Error}; };
    const std::string cpu(kCpuGenerator), gpu(kGpuGenerator), pool(kPoolMiner);
    const auto list = RunMode::ListPlatforms, search = RunMode::Search;
    const std::tuple<RunEnding, std::optional<std::string>, ClosingMessage> cases[] = {
        {{true, true, true, 1, false, search, cpu}, "log", canceled},
        {{true, false, true, 1, false, search, cpu}, "log", paused},
        {{true, false, false, 2, false, search, cpu}, "log", completed},
        {{true, false, false, 1, true, search, cpu}, "log", completed},
        {{true, false, false, 0, false, search, gpu}, "log", error("[ERROR]\nlog")},
        {{true, false, false, 1, false, list, gpu}, std::nullopt, error(failed)},
        {{true, false, false, 1, false, list, gpu}, "", error(noOpenCl)},
        {{true, false, false, 1, false, list, gpu}, listing, error(listing)},
        {{true, false, false, 1, false, search, gpu}, "", error(noOpenCl)},
        {{true, false, false, 1, false, search, pool}, std::nullopt, error(failed)},
        {{true, false, false, 1, false, search, pool}, "", error(noOpenCl)},
        {{true, false, false, 1, false, search, pool}, "bad url", error("[ERROR]\nbad url")},
        {{true, false, false, 1, false, search, cpu}, "", error(failed)},
        {{true, false, false, 1, false, search, cpu}, "error Invalid character", error(failed)}};
    for (const auto& [ending, log, expected] : cases) {
        EXPECT_EQ(chooseClosingMessage(ending, log), expected)
            << ending.generatorName << " passes " << ending.passCount << " log "
            << log.value_or("<none>");
    }
}

TEST(RunTexts, ElapsedTimeAndHeatPauseCountdown) {
    std::string texts;
    for (const long long seconds :
         {0LL, 3599LL, 86400LL, -3LL, 400LL * 86400 + 13 * 3600 + 7 * 60 + 9}) {
        texts += formatElapsed(std::chrono::seconds(seconds)) + " ";
    }
    EXPECT_EQ(texts, "00h:00m:00s 00h:59m:59s 00h:00m:00s 00h:00m:00s 13h:07m:09s ");
    const auto start = std::chrono::steady_clock::time_point{} + 5000s;
    std::string ticks; // the countdown ("-" for none), "+" when the search resumes
    for (const auto paused : {0ms, 1400ms, 1600ms, 599'700ms, 600'000ms, 600'001ms}) {
        const HeatPauseTick tick = heatPauseTick(start, start + paused);
        ticks += tick.countdown.value_or("-") + (tick.resume ? "+|" : "|");
    }
    EXPECT_EQ(ticks, "600 seconds|599 seconds|598 seconds|0 seconds|0 seconds+|-+|");
}

TEST(RunTexts, ProgressGroupsUpToTheKeyRateInTheLogsLast301Characters) {
    const std::string late = "[c][d]", wide = "[b key/s" + std::string(292, ' ') + "]";
    const std::pair<std::string, std::string> cases[] = {
        {"Difficulty: 77178\n", ""},
        {"[1][2 key/s][3][4]", "[2 key/s]  [3]  [4]  "},
        {"[2 key/s][3][4", "[2 key/s]  [3]  []  "}, // the child is still writing
        {"x[a]y[b]", "[a]  [b]  "},                 // no group holds the marker
        {"[a]b]c]", "[abc]  "},                     // a second ] continues the same group
        {"[x key/s][[y]", "[x key/s]  []  [y]  "},
        {std::string(100, '\0') + "[r key/s]" + std::string(3, '\0') + "[t]", "[r key/s]  [t]  "},
        // As the generators write it: a status refreshed with CR, padded, no newline.
        {"\r[944.12 Kkey/s][total 713472][50% in 3901.0y]     \r[951.30 Kkey/s][Prob 0.0%]     ",
         "[951.30 Kkey/s]  [Prob 0.0%]  "},
        // 9 + 292 = 301 characters: the "[" is the tail's first; one more and it falls out.
        {"[a key/s]" + std::string(292, 'x'), "[a key/s]  "},
        {"[a key/s]" + std::string(293, 'x'), ""},
        // A group whose "[" lies before the tail is dropped; the groups after it remain.
        {"[old key/s" + std::string(301 - 1 - late.size(), ']') + late, "[c]  [d]  "},
        {std::string(5000, '\n') + wide, wide + "  "}};
    testing::TempFolder dir;
    EXPECT_EQ(ReadProgressLine(dir / "stdout.log"), "");
    for (const auto& [content, line] : cases) {
        writeBytes(dir / "stdout.log", content);
        EXPECT_EQ(ReadProgressLine(dir / "stdout.log"), line) << content;
    }
}

TEST(GeneratorCommand, ArgumentsPerGeneratorAndOption) {
    // A path or device with blanks or quotes stays one argument: it cannot add a second "-o".
    const std::string odd = "/my lists/a\" -o /etc/passwd \".txt", box(kPatternsFile);
    const auto options = [&](std::string_view app, bool anyCase, bool oddFile, std::string device) {
        return GeneratorOptions{
            std::string(app),       4, device, anyCase, !oddFile, oddFile ? odd : "", "1Boat",
            "https://pool.example/"};
    };
    // The executable, then the arguments.
    const std::pair<GeneratorOptions, Strings> cases[] = {
        {options(kCpuGenerator, true, true, ""),
         {"vanitygen//vanitygen64.exe", "-t", "4", "-i", "-o", "results.txt", "-f", odd}},
        {options(kGpuGenerator, true, false, "0:1"),
         {"vanitygen//oclvanitygen.exe", "-i", "-D", "0:1", "-o", "results.txt", "-f", box}},
        {options(kGpuGenerator, false, true, odd),
         {"vanitygen//oclvanitygen.exe", "-D", odd, "-o", "results.txt", "-f", odd}},
        {options(kPoolMiner, true, false, "0:1"),
         {"vanitygen//oclvanityminer64.exe", "-u", "https://pool.example/", "-a", "1Boat", "-D",
          "0:1", "-i", "300"}}};
    for (const auto& [in, command] : cases) {
        const GeneratorCommand cmd = buildGeneratorCommand(in, RunMode::Search);
        EXPECT_EQ(cmd.executable, command[0]);
        EXPECT_EQ(cmd.arguments, Strings(command.begin() + 1, command.end()));
    }
    // The listing ignores the selected generator and its options.
    const GeneratorCommand listing =
        buildGeneratorCommand(options(kPoolMiner, true, true, odd), RunMode::ListPlatforms);
    EXPECT_EQ(listing.generatorName, kGpuGenerator);
    EXPECT_EQ(listing.executable, kGpuExecutable);
    EXPECT_EQ(listing.arguments, (Strings{"-D", "99:99", "-o", "results.txt", "1Tarwick"}));
}

} // namespace
} // namespace tarwick
