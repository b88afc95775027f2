#pragma once

#include "core/search/GeneratorNames.h"

#include <string>
#include <vector>

namespace tarwick {

// The form's choices that shape a generator's command line, read when a run starts.
struct GeneratorOptions {
    std::string externalApp{kCpuGenerator};
    int cpuThreads = 1;
    std::string openclDevice = "0:0";
    bool caseInsensitive = false;
    bool patternsFromBox = true;
    std::string patternsFilePath;
    std::string rewardAddress;
    std::string poolUrl{kDefaultPoolUrl};
};

struct GeneratorCommand {
    std::string generatorName; // the run's generator, shown in the banner and the closing text
    std::string executable;    // relative to the working folder
    // What the child receives, one entry per argument: the child is started from this list,
    // so a path with spaces or quotes, or a device text with blanks, stays one argument.
    std::vector<std::string> arguments;
};

GeneratorCommand buildGeneratorCommand(const GeneratorOptions& options, RunMode mode);

} // namespace tarwick
