#include "view/ConsolePalette.h"

namespace tarwick {

ConsoleColours coloursFor(ConsoleStyle style) {
    switch (style) {
    case ConsoleStyle::Plain:
        return {Colour::white, Colour::consoleBackground};
    case ConsoleStyle::Heading:
        return {Colour::teal, Colour::consoleBackground};
    case ConsoleStyle::Label:
        return {Colour::amber, Colour::consoleBackground};
    case ConsoleStyle::FoundValue:
        return {Colour::green, Colour::consoleBackground};
    case ConsoleStyle::Error:
        return {Colour::red, Colour::consoleBackground};
    case ConsoleStyle::Completed:
        return {Colour::white, Colour::darkGreen};
    case ConsoleStyle::Canceled:
        return {Colour::white, Colour::red};
    }
    return {Colour::white, Colour::consoleBackground};
}

} // namespace tarwick
