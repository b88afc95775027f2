// The command line of vanitygen64.exe.

#include "cpu/CpuOptions.h"

#include <gtest/gtest.h>

namespace tarwick::cpu {
namespace {

CpuOptions parsed(const std::vector<std::string>& args) {
    CpuOptions options;
    std::string error;
    EXPECT_TRUE(parseCpuOptions(args, options, error)) << error;
    return options;
}

std::string refused(const std::vector<std::string>& args) {
    CpuOptions options;
    std::string error;
    EXPECT_FALSE(parseCpuOptions(args, options, error));
    return error;
}

TEST(CpuOptions, TheFrontEndsCommandLine) {
    // As the front-end passes it, the empty case argument included.
    const CpuOptions o =
        parsed({"-t", "4", "", "-o", "results.txt", "-f", "vanitygen//patterns.txt"});
    EXPECT_EQ(o.threads, 4u);
    EXPECT_FALSE(o.caseInsensitive);
    EXPECT_EQ(o.outputFile, "results.txt");
    EXPECT_EQ(o.patternFiles, std::vector<std::string>{"vanitygen//patterns.txt"});
    EXPECT_TRUE(o.patterns.empty());
    EXPECT_TRUE(o.compressed);
    EXPECT_FALSE(o.keepGoing);
}

TEST(CpuOptions, FlagsAttachedValuesAndBarePatterns) {
    const CpuOptions o = parsed({"-t2", "-i", "-k", "-F", "uncompressed", "1Ab", "-fa.txt", "-f",
                                 "b.txt", "1Love", "-oout.txt"});
    EXPECT_EQ(o.threads, 2u);
    EXPECT_TRUE(o.caseInsensitive);
    EXPECT_TRUE(o.keepGoing);
    EXPECT_FALSE(o.compressed);
    EXPECT_EQ(o.patterns, (std::vector<std::string>{"1Ab", "1Love"}));
    EXPECT_EQ(o.patternFiles, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(o.outputFile, "out.txt");
    EXPECT_TRUE(parsed({"-F", "compressed"}).compressed);
    EXPECT_EQ(parsed({}).threads, 0u);
}

TEST(CpuOptions, HelpIsAnOption) {
    EXPECT_TRUE(parsed({"-h"}).help);
    EXPECT_NE(std::string(cpuUsage()).find("-t N"), std::string::npos);
}

TEST(CpuOptions, BadOptionsAreRefusedWithAReason) {
    EXPECT_NE(refused({"-x"}).find("-x"), std::string::npos);
    EXPECT_NE(refused({"-ik"}).find("-ik"), std::string::npos);
    EXPECT_NE(refused({"-t"}).find("-t"), std::string::npos);
    EXPECT_NE(refused({"-t", "0"}).find("0"), std::string::npos);
    EXPECT_NE(refused({"-t", "two"}).find("two"), std::string::npos);
    EXPECT_NE(refused({"-t", "-1"}).find("-1"), std::string::npos);
    EXPECT_NE(refused({"-F", "segwit"}).find("segwit"), std::string::npos);
    EXPECT_FALSE(refused({"-o"}).empty());
    EXPECT_FALSE(refused({"-o", ""}).empty());
}

} // namespace
} // namespace tarwick::cpu
