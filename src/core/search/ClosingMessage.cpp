#include "core/search/ClosingMessage.h"

namespace tarwick {
namespace {

std::string failedStartText(const RunEnding& ending, const std::optional<std::string>& log) {
    if (!log) {
        return std::string(kStartFailedMessage);
    }
    if (ending.mode == RunMode::ListPlatforms) {
        return log->empty() ? std::string(kNoOpenClMessage) : *log; // the listing itself
    }
    if (ending.generatorName == kGpuGenerator || ending.generatorName == kPoolMiner) {
        return log->empty() ? std::string(kNoOpenClMessage) : "[ERROR]\n" + *log;
    }
    return std::string(kStartFailedMessage);
}

} // namespace

bool endedInFirstWait(const RunEnding& ending) {
    return ending.passCount <= 1 && !ending.foundAny;
}

ClosingMessage chooseClosingMessage(const RunEnding& ending,
                                    const std::optional<std::string>& outputLog) {
    if (!ending.processStarted) {
        return {std::string(kNotStartedMessage), ConsoleStyle::Error};
    }
    if (ending.cancelRequested) {
        return {std::string(kCanceledMessage), ConsoleStyle::Canceled};
    }
    if (ending.pausedForHeat) {
        return {std::string(kPausedMessage), ConsoleStyle::Heading};
    }
    if (endedInFirstWait(ending)) {
        return {failedStartText(ending, outputLog), ConsoleStyle::Error};
    }
    return {std::string(kCompletedMessage), ConsoleStyle::Completed};
}

} // namespace tarwick
