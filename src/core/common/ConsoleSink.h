#pragma once

#include <string_view>

namespace tarwick {

// What a console piece means; the view turns it into its colours (text on back):
// Plain white, Heading teal, Label amber, FoundValue green, Error red, all on the console
// background; Completed white on dark green; Canceled white on red.
enum class ConsoleStyle { Plain, Heading, Label, FoundValue, Error, Completed, Canceled };

// The console log as the core sees it: pieces are appended at the end, in order.
class ConsoleSink {
public:
    virtual ~ConsoleSink() = default;
    virtual void append(std::string_view text, ConsoleStyle style, bool lineBreak) = 0;
    virtual void clear() = 0;
};

} // namespace tarwick
