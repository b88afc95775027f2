#pragma once

#include "core/common/ConsoleSink.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tarwick::testing {

struct ConsolePiece {
    std::string text;
    ConsoleStyle style = ConsoleStyle::Plain;
    bool lineBreak = true;

    friend bool operator==(const ConsolePiece&, const ConsolePiece&) = default;
};

// Keeps every piece appended to the console, in order, and counts the clearings.
struct RecordingConsole : ConsoleSink {
    void append(std::string_view text, ConsoleStyle style, bool lineBreak) override {
        pieces.push_back({std::string(text), style, lineBreak});
    }
    void clear() override {
        pieces.clear();
        ++clears;
    }
    const ConsolePiece& last() const { return pieces.back(); }
    bool saysInRed(std::string_view text) const {
        return std::ranges::any_of(pieces, [text](const ConsolePiece& piece) {
            return piece.style == ConsoleStyle::Error && piece.text.find(text) != std::string::npos;
        });
    }

    std::vector<ConsolePiece> pieces;
    int clears = 0;
};

} // namespace tarwick::testing
