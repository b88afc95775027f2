#pragma once

#include "core/common/ConsoleSink.h"

#include <QColor>

namespace tarwick {

namespace Colour {
inline const QColor teal{0x65, 0xB9, 0xC1};
inline const QColor amber{0xD9, 0xA7, 0x51};
inline const QColor red{0xCB, 0x45, 0x45};
inline const QColor green{0x4B, 0x9A, 0x43};
inline const QColor white{0xFF, 0xFF, 0xFF};
inline const QColor darkGreen{0x17, 0x6E, 0x0B};
inline const QColor consoleBackground{0x25, 0x25, 0x26};
inline const QColor formGrey{0x40, 0x40, 0x40};
} // namespace Colour

struct ConsoleColours {
    QColor text;
    QColor back;
};

// The colours of each kind of console piece.
ConsoleColours coloursFor(ConsoleStyle style);

} // namespace tarwick
