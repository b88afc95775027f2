#pragma once

#include "core/common/ConsoleSink.h"

#include <ostream>
#include <string>
#include <vector>

namespace tarwick::testing {

struct ConsolePiece {
    std::string text;
    ConsoleStyle style = ConsoleStyle::Plain;
    bool lineBreak = false;

    friend bool operator==(const ConsolePiece&, const ConsolePiece&) = default;
    friend std::ostream& operator<<(std::ostream& out, const ConsolePiece& piece) {
        return out << "{\"" << piece.text << "\", style " << static_cast<int>(piece.style)
                   << (piece.lineBreak ? ", break}" : ", no break}");
    }
};

// Keeps every piece appended to the console, in order.
class RecordingConsole : public ConsoleSink {
public:
    void append(std::string_view text, ConsoleStyle style, bool lineBreak) override {
        pieces.push_back({std::string(text), style, lineBreak});
    }
    void clear() override { pieces.clear(); }

    std::vector<ConsolePiece> pieces;
};

} // namespace tarwick::testing
