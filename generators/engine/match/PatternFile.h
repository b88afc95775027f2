#pragma once

#include <string>
#include <vector>

namespace tarwick::engine {

// The patterns of a pattern file (-f), one per line. CR and LF both end a line, so LF, CR LF
// and CR CR LF files read alike; empty lines are skipped, so a file that begins with a line
// break never yields an empty pattern (which would match every address), and a last line
// without a line break still counts. Nothing else is trimmed: a stray space stays and is
// reported as an invalid character. `ok` is false when the file cannot be read.
std::vector<std::string> readPatternFile(const std::string& path, bool& ok);

} // namespace tarwick::engine
