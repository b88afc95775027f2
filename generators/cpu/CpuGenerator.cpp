#include "cpu/CpuGenerator.h"

#include "cpu/ConsoleReport.h"
#include "cpu/CpuOptions.h"
#include "engine/ec/FieldBackend.h"
#include "engine/hash/Hash160.h"
#include "engine/match/PatternFile.h"
#include "engine/match/PatternSet.h"
#include "engine/search/ResultFile.h"
#include "engine/search/Search.h"
#include "engine/verify/ReferenceKeyCheck.h"

#include <exception>
#include <thread>

namespace tarwick::cpu {

namespace {

void print(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::string difficultyLine(const engine::PatternSet& patterns) {
    char number[64];
    std::snprintf(number, sizeof number, "%.0f", patterns.difficulty());
    if (patterns.size() == 1) {
        return std::string("Difficulty: ") + number + "\n";
    }
    return std::string("Next match difficulty: ") + number + " (" +
           std::to_string(patterns.size()) + " prefixes)\n";
}

int search(const CpuOptions& options, std::FILE* out, std::FILE* err) {
    std::vector<std::string> patterns = options.patterns;
    for (const std::string& file : options.patternFiles) {
        bool ok = false;
        const std::vector<std::string> fromFile = engine::readPatternFile(file, ok);
        if (!ok) {
            print(err, "Pattern file error - cannot read '" + file + "'\n");
            return kExitUsage;
        }
        patterns.insert(patterns.end(), fromFile.begin(), fromFile.end());
    }
    std::vector<std::string> warnings;
    engine::PatternSet set =
        engine::PatternSet::build(patterns, options.caseInsensitive, 0x00, warnings);
    for (const std::string& warning : warnings) {
        print(err, warning + "\n");
    }
    if (set.empty()) {
        print(err, "Pattern error - no usable pattern to search for\n");
        return kExitUsage;
    }

    engine::ResultFile results;
    if (!options.outputFile.empty()) {
        std::string error;
        if (!results.open(options.outputFile, error)) {
            print(err, "Output error - cannot open '" + options.outputFile + "': " + error + "\n");
            return kExitUsage;
        }
    }

    print(out, difficultyLine(set));

    engine::SearchSettings settings;
    settings.threads =
        options.threads != 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    settings.compressed = options.compressed;
    settings.caseInsensitive = options.caseInsensitive;
    settings.keepGoing = options.keepGoing;

    const engine::ReferenceKeyCheck check;
    engine::SystemStartKeys starts;
    ConsoleReport report(out, err, &results);
    engine::Search run(settings, std::move(set), check, report, starts);
    const engine::SearchOutcome outcome = run.run();
    report.close();
    switch (outcome) {
    case engine::SearchOutcome::AllFound:
        return kExitDone;
    case engine::SearchOutcome::CheckFailed:
        return kExitCheckFailed;
    case engine::SearchOutcome::Stopped:
        break;
    }
    return kExitInternal;
}

} // namespace

int runCpuGenerator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    CpuOptions options;
    std::string error;
    if (!parseCpuOptions(args, options, error)) {
        print(err, "Option error - " + error + "\n" + cpuUsage());
        return kExitUsage;
    }
    if (options.verbose) {
        print(err, std::string("Hash backend: ") + engine::hashBackendName() + "\n" +
                       "Field backend: " + engine::fieldBackendName(engine::fieldBackendInUse()) +
                       "\n");
    }
    if (options.help) {
        print(out, cpuUsage());
        return kExitDone;
    }
    try {
        return search(options, out, err);
    } catch (const std::exception& e) {
        print(err, std::string("Internal error - ") + e.what() + "\n");
        return kExitInternal;
    }
}

} // namespace tarwick::cpu
