#pragma once

#include "core/common/ConsoleSink.h"

#include <QColor>
#include <QTextEdit>

namespace tarwick {

// The read-only console box: every piece is appended at the end, bold, in the caller's colours.
class ConsoleLog : public QTextEdit, public ConsoleSink {
    Q_OBJECT
public:
    explicit ConsoleLog(QWidget* parent = nullptr);

    void AppendConsole(const QString& text, const QColor& textColour, const QColor& backColour,
                       bool lineBreak);
    void SetConsoleColour(const QColor& textColour, const QColor& backColour);

    void append(std::string_view text, ConsoleStyle style, bool lineBreak) override;
    void clear() override;
};

} // namespace tarwick
