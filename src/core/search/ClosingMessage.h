#pragma once

#include "core/common/ConsoleSink.h"
#include "core/search/GeneratorNames.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarwick {

inline constexpr std::string_view kNotStartedMessage =
    "[ERROR]\nThe external .exe program could not be started.";
inline constexpr std::string_view kCanceledMessage = "Search canceled by user";
inline constexpr std::string_view kPausedMessage =
    "[PAUSE] Search paused for avoid CPU or GPU overheating.\nThe search will resume shortly.";
inline constexpr std::string_view kStartFailedMessage = "[ERROR] The search could not be started.";
inline constexpr std::string_view kNoOpenClMessage =
    "[ERROR]\nThere are no OpenCL compatible platforms on your system.";
inline constexpr std::string_view kCompletedMessage = "Search completed";

// How a run ended, as far as its closing message depends on it.
struct RunEnding {
    bool processStarted = false;
    bool cancelRequested = false;
    bool pausedForHeat = false;
    unsigned passCount = 0;
    bool foundAny = false;
    RunMode mode = RunMode::Search;
    std::string generatorName;
};

struct ClosingMessage {
    std::string text;
    ConsoleStyle style = ConsoleStyle::Error;

    friend bool operator==(const ClosingMessage&, const ClosingMessage&) = default;
};

// True when the child ended during the first wait without reporting a key: a failed start.
bool endedInFirstWait(const RunEnding& ending);

// The one message a run ends with. outputLog is "stdout.log" read whole, or nothing when the
// file does not exist; it is consulted only for a failed start.
ClosingMessage chooseClosingMessage(const RunEnding& ending,
                                    const std::optional<std::string>& outputLog);

} // namespace tarwick
