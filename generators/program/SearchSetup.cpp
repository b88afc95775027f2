#include "program/SearchSetup.h"

#include "engine/match/PatternFile.h"
#include "program/ExitCodes.h"

namespace tarwick::program {

void print(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::optional<engine::PatternSet> loadPatterns(const SearchOptions& options, std::FILE* err) {
    std::vector<std::string> patterns = options.patterns;
    for (const std::string& file : options.patternFiles) {
        bool ok = false;
        const std::vector<std::string> fromFile = engine::readPatternFile(file, ok);
        if (!ok) {
            print(err, "Pattern file error - cannot read '" + file + "'\n");
            return std::nullopt;
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
        return std::nullopt;
    }
    return set;
}

bool openResults(const SearchOptions& options, engine::ResultFile& results, std::FILE* err) {
    if (options.outputFile.empty()) {
        return true;
    }
    std::string error;
    if (results.open(options.outputFile, error)) {
        return true;
    }
    print(err, "Output error - cannot open '" + options.outputFile + "': " + error + "\n");
    return false;
}

int exitCodeFor(engine::SearchOutcome outcome, bool keyNotWritten) {
    if (keyNotWritten) {
        return kExitKeyNotWritten;
    }
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

std::string difficultyLine(const engine::PatternSet& patterns) {
    char number[64];
    std::snprintf(number, sizeof number, "%.0f", patterns.difficulty());
    if (patterns.size() == 1) {
        return std::string("Difficulty: ") + number + "\n";
    }
    return std::string("Next match difficulty: ") + number + " (" +
           std::to_string(patterns.size()) + " prefixes)\n";
}

} // namespace tarwick::program
