// The command line of vanitygen64.exe.

#include "cpu/CpuOptions.h"

#include <gtest/gtest.h>

namespace tarwick::cpu {
namespace {

using Args = std::vector<std::string>;

// The parsed options in one line, or "refused: <reason>".
std::string parsed(const Args& args) {
    CpuOptions o;
    std::string error;
    if (!parseCpuOptions(args, o, error))
        return "refused: " + error;
    std::string text = "t" + std::to_string(o.threads) + (o.caseInsensitive ? " -i" : "") +
                       (o.keepGoing ? " -k" : "") + (o.compressed ? "" : " uncompressed") +
                       (o.verbose ? " -v" : "") + (o.help ? " -h" : "") + " o=" + o.outputFile;
    for (const auto& file : o.patternFiles)
        text += " f=" + file;
    for (const auto& pattern : o.patterns)
        text += " " + pattern;
    return text;
}

TEST(CpuOptions, CommandLines) {
    const std::pair<Args, const char*> cases[] = {
        // As the front-end passes it, the empty case argument included.
        {{"-t", "4", "", "-o", "results.txt", "-f", "vanitygen//patterns.txt"},
         "t4 o=results.txt f=vanitygen//patterns.txt"},
        {{"-t2", "-i", "-k", "-F", "uncompressed", "1Ab", "-fa.txt", "-f", "b.txt", "1Love",
          "-oout.txt"},
         "t2 -i -k uncompressed o=out.txt f=a.txt f=b.txt 1Ab 1Love"},
        {{"-F", "compressed", "-v", "-h"}, "t0 -v -h o="},
        {{"-x"}, "refused: unknown option -x"},
    };
    for (const auto& [args, expected] : cases)
        EXPECT_EQ(parsed(args), expected);
    // Refused, with the reason naming what was wrong.
    // clang-format off
    const std::pair<Args, const char*> refused[] = {
        {{"-ik"}, "-ik"}, {{"-t"}, "-t"}, {{"-t", "0"}, "'0'"}, {{"-t", "two"}, "two"},
        {{"-t", "-1"}, "-1"}, {{"-t", "1025"}, "1025"}, {{"-F", "segwit"}, "segwit"},
        {{"-o"}, "-o"}, {{"-o", ""}, "-o"}};
    // clang-format on
    for (const auto& [args, part] : refused)
        EXPECT_NE(parsed(args).find(part), std::string::npos) << parsed(args);
}

} // namespace
} // namespace tarwick::cpu
