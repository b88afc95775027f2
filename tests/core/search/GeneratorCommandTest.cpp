#include "core/search/GeneratorCommand.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarwick {
namespace {

using Args = std::vector<std::string>;

GeneratorOptions options(std::string_view app, bool caseInsensitive, std::string file = {}) {
    GeneratorOptions o;
    o.externalApp = app;
    o.cpuThreads = 4;
    o.openclDevice = "0:1";
    o.caseInsensitive = caseInsensitive;
    o.patternsFromBox = file.empty();
    o.patternsFilePath = file;
    o.rewardAddress = "1BoatSLRHtKNngkdXEeobR76b53LETtpyT";
    o.poolUrl = "https://pool.example/";
    return o;
}

TEST(GeneratorCommand, ArgumentsPerGeneratorAndOption) {
    struct Case {
        GeneratorOptions options;
        std::string_view executable;
        Args arguments;
        const char* name;
    };
    // A path or device with blanks or quotes stays one argument: it cannot add a second "-o".
    const std::string oddPath = "/my lists/a\" -o /etc/passwd \".txt";
    GeneratorOptions oddDevice = options(kGpuGenerator, false);
    oddDevice.openclDevice = "0:0 -o elsewhere.txt";
    GeneratorOptions noSource = options(kCpuGenerator, false);
    noSource.patternsFromBox = false;
    const std::string box(kPatternsFile);
    const Case cases[] = {
        {options(kCpuGenerator, false),
         kCpuExecutable,
         {"-t", "4", "-o", "results.txt", "-f", box},
         "CPU, box"},
        {options(kCpuGenerator, true, oddPath),
         kCpuExecutable,
         {"-t", "4", "-i", "-o", "results.txt", "-f", oddPath},
         "CPU, case-insensitive, file"},
        {noSource, kCpuExecutable, {"-t", "4", "-o", "results.txt", "-f", ""}, "CPU, no source"},
        {options(kGpuGenerator, true),
         kGpuExecutable,
         {"-i", "-D", "0:1", "-o", "results.txt", "-f", box},
         "GPU, case-insensitive, box"},
        {options(kGpuGenerator, false, oddPath),
         kGpuExecutable,
         {"-D", "0:1", "-o", "results.txt", "-f", oddPath},
         "GPU, file"},
        {oddDevice,
         kGpuExecutable,
         {"-D", "0:0 -o elsewhere.txt", "-o", "results.txt", "-f", box},
         "GPU, odd device"},
        {options(kPoolMiner, true),
         kPoolExecutable,
         {"-u", "https://pool.example/", "-a", "1BoatSLRHtKNngkdXEeobR76b53LETtpyT", "-D", "0:1",
          "-i", "300"},
         "pool ignores case and patterns"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GeneratorCommand cmd = BuildGeneratorCommand(c.options, RunMode::Search);
        EXPECT_EQ(cmd.generatorName, c.options.externalApp);
        EXPECT_EQ(cmd.executable, c.executable);
        EXPECT_EQ(cmd.arguments, c.arguments);
    }
}

TEST(GeneratorCommand, ListingIgnoresTheSelectedGeneratorAndOptions) {
    for (const std::string_view app : {kCpuGenerator, kGpuGenerator, kPoolMiner}) {
        for (const bool caseInsensitive : {false, true}) {
            const GeneratorCommand cmd = BuildGeneratorCommand(
                options(app, caseInsensitive, "/l.txt"), RunMode::ListPlatforms);
            EXPECT_EQ(cmd.generatorName, kGpuGenerator) << app;
            EXPECT_EQ(cmd.executable, kGpuExecutable) << app;
            EXPECT_EQ(cmd.arguments, (Args{"-D", "99:99", "-o", "results.txt", "1Tarwick"})) << app;
        }
    }
}

} // namespace
} // namespace tarwick
