#include "core/search/GeneratorCommand.h"

namespace tarwick {

GeneratorCommand buildGeneratorCommand(const GeneratorOptions& options, RunMode mode) {
    const std::string results(kResultsFile);
    if (mode == RunMode::ListPlatforms) {
        // Asked for a device no machine has, the OpenCL generator lists the platforms and stops.
        return {std::string(kGpuGenerator),
                std::string(kGpuExecutable),
                {"-D", "99:99", "-o", results, "1Tarwick"}};
    }
    if (options.externalApp == kPoolMiner) {
        return {options.externalApp,
                std::string(kPoolExecutable),
                {"-u", options.poolUrl, "-a", options.rewardAddress, "-D", options.openclDevice,
                 "-i", "300"}};
    }
    const bool gpu = options.externalApp == kGpuGenerator;
    GeneratorCommand command{
        options.externalApp, std::string(gpu ? kGpuExecutable : kCpuExecutable), {}};
    std::vector<std::string>& arguments = command.arguments;
    if (!gpu) {
        arguments = {"-t", std::to_string(options.cpuThreads)};
    }
    if (options.caseInsensitive) {
        arguments.push_back("-i");
    }
    if (gpu) {
        arguments.insert(arguments.end(), {"-D", options.openclDevice});
    }
    const std::string patterns =
        options.patternsFromBox ? std::string(kPatternsFile) : options.patternsFilePath;
    arguments.insert(arguments.end(), {"-o", results, "-f", patterns});
    return command;
}

} // namespace tarwick
