#pragma once

#include "engine/match/PatternSet.h"
#include "engine/search/ResultFile.h"
#include "engine/search/Search.h"
#include "program/SearchOptions.h"

#include <cstdio>
#include <optional>
#include <string>

namespace tarwick::program {

// Writes the text and flushes at once, so a reader of the stream sees every line whole.
void print(std::FILE* stream, const std::string& text);

// The patterns of the command line and of every -f file as one set, with a warning on err for
// each pattern left out. Nothing when a file cannot be read or no usable pattern is left (the
// reason is on err).
std::optional<engine::PatternSet> loadPatterns(const SearchOptions& options, std::FILE* err);

// Opens the -o file, if one was asked for; false with the reason on err.
bool openResults(const SearchOptions& options, engine::ResultFile& results, std::FILE* err);

// The exit code a search ends the program with; a key that could not be written to the
// results file outweighs everything else.
int exitCodeFor(engine::SearchOutcome outcome, bool keyNotWritten);

// "Difficulty: N", or "Next match difficulty: N (K prefixes)" for several patterns.
std::string difficultyLine(const engine::PatternSet& patterns);

} // namespace tarwick::program
