#include "core/search/GeneratorCommand.h"

namespace tarwick {
namespace {

// One piece of the command line: its text form (possibly empty) and the arguments it stands for.
struct Piece {
    std::string text;
    std::vector<std::string> arguments;
};

Piece piece(std::string text, std::vector<std::string> arguments) {
    return {std::move(text), std::move(arguments)};
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

GeneratorCommand BuildGeneratorCommand(const GeneratorOptions& options, RunMode mode) {
    const std::string threads = std::to_string(options.cpuThreads);
    std::string executable(kCpuExecutable);
    Piece threadPiece = piece("-t " + threads, {"-t", threads});
    Piece casePiece = options.caseInsensitive ? piece("-i", {"-i"}) : Piece{};
    Piece devicePiece;
    const std::string& patternsPath =
        options.patternsFromBox ? std::string(kPatternsFile) : options.patternsFilePath;
    Piece patternsPiece = piece("-f " + quoted(patternsPath), {"-f", patternsPath});
    const Piece poolPiece = piece("-u " + options.poolUrl, {"-u", options.poolUrl});
    const Piece rewardPiece = piece("-a " + options.rewardAddress, {"-a", options.rewardAddress});

    std::string generatorName = options.externalApp;
    if (generatorName == kGpuGenerator) {
        executable = kGpuExecutable;
        devicePiece = piece("-D " + options.openclDevice, {"-D", options.openclDevice});
        threadPiece = {};
    }
    if (generatorName == kPoolMiner) {
        executable = kPoolExecutable;
        devicePiece = piece("-D " + options.openclDevice + " -i 300",
                            {"-D", options.openclDevice, "-i", "300"});
    }
    if (mode == RunMode::ListPlatforms) {
        generatorName = kGpuGenerator;
        executable = kGpuExecutable;
        devicePiece = piece("-D 99:99", {"-D", "99:99"});
        threadPiece = {};
        patternsPiece = piece("1Tarwick", {"1Tarwick"});
        casePiece = {};
    }

    std::vector<Piece> pieces;
    if (generatorName != kPoolMiner) {
        pieces = {threadPiece, casePiece, devicePiece,
                  piece("-o " + std::string(kResultsFile), {"-o", std::string(kResultsFile)}),
                  patternsPiece};
    } else {
        pieces = {poolPiece, rewardPiece, devicePiece};
    }

    GeneratorCommand command{generatorName, executable, {}, quoted(executable)};
    for (const Piece& p : pieces) {
        // Empty pieces keep their separating blanks, as the original line reads.
        command.commandLine += " " + p.text;
        command.arguments.insert(command.arguments.end(), p.arguments.begin(), p.arguments.end());
    }
    return command;
}

} // namespace tarwick
