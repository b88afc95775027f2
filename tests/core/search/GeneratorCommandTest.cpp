#include "core/search/GeneratorCommand.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarwick {
namespace {

using Args = std::vector<std::string>;

GeneratorOptions options(std::string_view app, bool caseInsensitive) {
    GeneratorOptions o;
    o.externalApp = app;
    o.cpuThreads = 4;
    o.openclDevice = "0:1";
    o.caseInsensitive = caseInsensitive;
    o.patternsFromBox = true;
    o.patternsFilePath = "/home/u/list.txt";
    o.rewardAddress = "1BoatSLRHtKNngkdXEeobR76b53LETtpyT";
    o.poolUrl = "https://pool.example/";
    return o;
}

struct Case {
    const char* what;
    GeneratorOptions options;
    RunMode mode;
    std::string name;
    std::string executable;
    std::string line;
    Args arguments;
};

TEST(GeneratorCommand, TableOfGeneratorsAndListing) {
    GeneratorOptions fromFile = options(kCpuGenerator, false);
    fromFile.patternsFromBox = false;
    fromFile.patternsFilePath = "C:\\p\\list.txt";
    GeneratorOptions gpuFromFile = options(kGpuGenerator, true);
    gpuFromFile.patternsFromBox = false;
    GeneratorOptions pool00 = options(kPoolMiner, false);
    pool00.openclDevice = "0:0";
    GeneratorOptions noSource = options(kCpuGenerator, false);
    noSource.patternsFromBox = false;
    noSource.patternsFilePath = "";

    const std::string cpu(kCpuGenerator), gpu(kGpuGenerator), pool(kPoolMiner);
    const std::string cpuExe(kCpuExecutable), gpuExe(kGpuExecutable), poolExe(kPoolExecutable);
    const Case cases[] = {
        {"CPU, case-sensitive, box",
         options(kCpuGenerator, false),
         RunMode::Search,
         cpu,
         cpuExe,
         R"("vanitygen//vanitygen64.exe" -t 4   -o results.txt -f "vanitygen//patterns.txt")",
         {"-t", "4", "-o", "results.txt", "-f", "vanitygen//patterns.txt"}},
        {"CPU, case-insensitive, box",
         options(kCpuGenerator, true),
         RunMode::Search,
         cpu,
         cpuExe,
         R"("vanitygen//vanitygen64.exe" -t 4 -i  -o results.txt -f "vanitygen//patterns.txt")",
         {"-t", "4", "-i", "-o", "results.txt", "-f", "vanitygen//patterns.txt"}},
        {"CPU, file",
         fromFile,
         RunMode::Search,
         cpu,
         cpuExe,
         R"("vanitygen//vanitygen64.exe" -t 4   -o results.txt -f "C:\p\list.txt")",
         {"-t", "4", "-o", "results.txt", "-f", "C:\\p\\list.txt"}},
        {"CPU, neither source",
         noSource,
         RunMode::Search,
         cpu,
         cpuExe,
         R"("vanitygen//vanitygen64.exe" -t 4   -o results.txt -f "")",
         {"-t", "4", "-o", "results.txt", "-f", ""}},
        {"GPU, case-sensitive, box",
         options(kGpuGenerator, false),
         RunMode::Search,
         gpu,
         gpuExe,
         R"("vanitygen//oclvanitygen.exe"   -D 0:1 -o results.txt -f "vanitygen//patterns.txt")",
         {"-D", "0:1", "-o", "results.txt", "-f", "vanitygen//patterns.txt"}},
        {"GPU, case-insensitive, box",
         options(kGpuGenerator, true),
         RunMode::Search,
         gpu,
         gpuExe,
         R"("vanitygen//oclvanitygen.exe"  -i -D 0:1 -o results.txt -f "vanitygen//patterns.txt")",
         {"-i", "-D", "0:1", "-o", "results.txt", "-f", "vanitygen//patterns.txt"}},
        {"GPU, case-insensitive, file",
         gpuFromFile,
         RunMode::Search,
         gpu,
         gpuExe,
         R"("vanitygen//oclvanitygen.exe"  -i -D 0:1 -o results.txt -f "/home/u/list.txt")",
         {"-i", "-D", "0:1", "-o", "results.txt", "-f", "/home/u/list.txt"}},
        {"pool, 0:0",
         pool00,
         RunMode::Search,
         pool,
         poolExe,
         R"("vanitygen//oclvanityminer64.exe" -u https://pool.example/ )"
         R"(-a 1BoatSLRHtKNngkdXEeobR76b53LETtpyT -D 0:0 -i 300)",
         {"-u", "https://pool.example/", "-a", "1BoatSLRHtKNngkdXEeobR76b53LETtpyT", "-D", "0:0",
          "-i", "300"}},
        {"pool, case-insensitive changes nothing",
         options(kPoolMiner, true),
         RunMode::Search,
         pool,
         poolExe,
         R"("vanitygen//oclvanityminer64.exe" -u https://pool.example/ )"
         R"(-a 1BoatSLRHtKNngkdXEeobR76b53LETtpyT -D 0:1 -i 300)",
         {"-u", "https://pool.example/", "-a", "1BoatSLRHtKNngkdXEeobR76b53LETtpyT", "-D", "0:1",
          "-i", "300"}},
    };
    for (const Case& c : cases) {
        const GeneratorCommand cmd = BuildGeneratorCommand(c.options, c.mode);
        EXPECT_EQ(cmd.generatorName, c.name) << c.what;
        EXPECT_EQ(cmd.executable, c.executable) << c.what;
        EXPECT_EQ(cmd.commandLine, c.line) << c.what;
        EXPECT_EQ(cmd.arguments, c.arguments) << c.what;
    }
}

TEST(GeneratorCommand, ListingIgnoresTheSelectedGeneratorAndOptions) {
    const std::string line = R"("vanitygen//oclvanitygen.exe"   -D 99:99 -o results.txt 1Tarwick)";
    const Args arguments{"-D", "99:99", "-o", "results.txt", "1Tarwick"};
    for (const std::string_view app : {kCpuGenerator, kGpuGenerator, kPoolMiner}) {
        for (const bool caseInsensitive : {false, true}) {
            for (const bool fromBox : {false, true}) {
                GeneratorOptions o = options(app, caseInsensitive);
                o.patternsFromBox = fromBox;
                const GeneratorCommand cmd = BuildGeneratorCommand(o, RunMode::ListPlatforms);
                EXPECT_EQ(cmd.generatorName, kGpuGenerator) << app;
                EXPECT_EQ(cmd.executable, kGpuExecutable) << app;
                EXPECT_EQ(cmd.commandLine, line) << app << caseInsensitive << fromBox;
                EXPECT_EQ(cmd.arguments, arguments) << app << caseInsensitive << fromBox;
            }
        }
    }
}

TEST(GeneratorCommand, PathWithSpacesOrQuoteStaysOneArgument) {
    for (const std::string& path : {std::string("/home/u/my lists/vanity list.txt"),
                                    std::string("/tmp/a\" -o /etc/passwd \".txt")}) {
        for (const std::string_view app : {kCpuGenerator, kGpuGenerator}) {
            GeneratorOptions o = options(app, false);
            o.patternsFromBox = false;
            o.patternsFilePath = path;
            const GeneratorCommand cmd = BuildGeneratorCommand(o, RunMode::Search);
            ASSERT_GE(cmd.arguments.size(), 2u);
            EXPECT_EQ(cmd.arguments[cmd.arguments.size() - 2], "-f");
            EXPECT_EQ(cmd.arguments.back(), path) << "the whole path, as one argument";
            // The display line still quotes it the original way.
            EXPECT_TRUE(cmd.commandLine.ends_with(" -f \"" + path + "\"")) << cmd.commandLine;
            // A quote in the path cannot add a second "-o": exactly one, holding results.txt.
            int outputs = 0;
            for (std::size_t i = 0; i < cmd.arguments.size(); ++i) {
                if (cmd.arguments[i] == "-o") {
                    ++outputs;
                    EXPECT_EQ(cmd.arguments[i + 1], "results.txt");
                }
            }
            EXPECT_EQ(outputs, 1);
        }
    }
}

TEST(GeneratorCommand, DeviceWithBlanksStaysOneArgument) {
    GeneratorOptions o = options(kGpuGenerator, false);
    o.openclDevice = "0:0 -o elsewhere.txt";
    const GeneratorCommand cmd = BuildGeneratorCommand(o, RunMode::Search);
    EXPECT_EQ(cmd.arguments, (Args{"-D", "0:0 -o elsewhere.txt", "-o", "results.txt", "-f",
                                   "vanitygen//patterns.txt"}));
}

TEST(GeneratorCommand, LongLineIsNotCut) {
    GeneratorOptions o = options(kCpuGenerator, false);
    o.patternsFromBox = false;
    o.patternsFilePath = "/" + std::string(300, 'x') + "/list.txt";
    const GeneratorCommand cmd = BuildGeneratorCommand(o, RunMode::Search);
    EXPECT_GT(cmd.commandLine.size(), 255u);
    EXPECT_TRUE(cmd.commandLine.ends_with("/list.txt\""));
    EXPECT_EQ(cmd.arguments.back(), o.patternsFilePath);
}

TEST(GeneratorCommand, ThreadsOnlyForTheCpuGenerator) {
    for (const std::string_view app : {kGpuGenerator, kPoolMiner}) {
        const GeneratorCommand cmd = BuildGeneratorCommand(options(app, true), RunMode::Search);
        EXPECT_EQ(cmd.commandLine.find("-t"), std::string::npos) << app;
        for (const std::string& a : cmd.arguments) {
            EXPECT_NE(a, "-t") << app;
        }
    }
    const GeneratorCommand pool = BuildGeneratorCommand(options(kPoolMiner, true), RunMode::Search);
    EXPECT_EQ(pool.commandLine.find("-o"), std::string::npos);
    EXPECT_EQ(pool.commandLine.find("-f"), std::string::npos);
    EXPECT_TRUE(pool.commandLine.ends_with("-i 300"));
}

TEST(GeneratorCommand, DefaultPoolUrlIsAnHttpsServerRoot) {
    EXPECT_TRUE(kDefaultPoolUrl.starts_with("https://"));
    EXPECT_TRUE(kDefaultPoolUrl.ends_with("/"));
    EXPECT_EQ(GeneratorOptions{}.poolUrl, kDefaultPoolUrl);
}

} // namespace
} // namespace tarwick
