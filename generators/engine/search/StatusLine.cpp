#include "engine/search/StatusLine.h"

#include "engine/match/Difficulty.h"

namespace tarwick::engine {

std::string formatStatusGroups(const SearchStatus& status) {
    const double done = static_cast<double>(status.keysSinceLastFind);
    std::string line = "[";
    line += formatRate(status.keysPerSecond);
    line += "][total ";
    line += std::to_string(status.totalKeys);
    line += "]";
    line += formatProbabilityGroup(done, status.difficulty);
    line += formatEtaGroup(done, status.difficulty, status.keysPerSecond);
    if (status.found > 0) {
        line += "[Found ";
        line += std::to_string(status.found);
        if (!status.keepGoing) {
            line += "/";
            line += std::to_string(status.patterns);
        }
        line += "]";
    }
    return line;
}

std::string formatStatusRefresh(const SearchStatus& status) {
    std::string line(1, '\r');
    line += formatStatusGroups(status);
    if (line.size() < 80) {
        line.append(80 - line.size(), ' ');
    }
    return line;
}

} // namespace tarwick::engine
