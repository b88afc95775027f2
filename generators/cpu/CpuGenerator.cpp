#include "cpu/CpuGenerator.h"

#include "cpu/CpuOptions.h"
#include "engine/ec/FieldBackend.h"
#include "engine/hash/Hash160.h"
#include "engine/match/PatternSet.h"
#include "engine/search/ResultFile.h"
#include "engine/search/Search.h"
#include "engine/verify/ReferenceKeyCheck.h"
#include "program/ConsoleReport.h"
#include "program/SearchSetup.h"

#include <exception>
#include <thread>

namespace tarwick::cpu {

namespace {

using program::ConsoleReport;
using program::difficultyLine;
using program::exitCodeFor;
using program::loadPatterns;
using program::openResults;
using program::print;

int search(const CpuOptions& options, std::FILE* out, std::FILE* err) {
    std::optional<engine::PatternSet> loaded = loadPatterns(options, err);
    if (!loaded) {
        return kExitUsage;
    }
    engine::PatternSet& set = *loaded;
    engine::ResultFile results;
    if (!openResults(options, results, err)) {
        return kExitUsage;
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
    report.onWriteFailure([&run] { run.requestStop(); });
    const engine::SearchOutcome outcome = run.run();
    report.close();
    return exitCodeFor(outcome, report.writeFailed());
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
