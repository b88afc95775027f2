#include "view/ConsoleLog.h"

#include "view/ConsolePalette.h"

#include <QTextCursor>

namespace tarwick {

namespace {

// The console speaks in Windows line ends; the text document wants a bare line feed.
QString withPlainLineFeeds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

ConsoleLog::ConsoleLog(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Colour::consoleBackground);
    }
    setPalette(colours);
}

void ConsoleLog::SetConsoleColour(const QColor& textColour, const QColor& backColour) {
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    format.setVerticalAlignment(QTextCharFormat::AlignNormal);
    format.setForeground(textColour);
    format.setBackground(backColour);
    QTextCursor cursor = textCursor();
    cursor.setCharFormat(format);
    setTextCursor(cursor);
}

void ConsoleLog::AppendConsole(const QString& text, const QColor& textColour,
                               const QColor& backColour, bool lineBreak) {
    // Appending always goes to the end; whatever the user had selected is given up.
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
    SetConsoleColour(textColour, backColour);
    cursor = textCursor();
    cursor.insertText(withPlainLineFeeds(text));
    if (lineBreak) {
        cursor.insertText(QStringLiteral("\n"));
    }
    setTextCursor(cursor);
    ensureCursorVisible();
}

void ConsoleLog::append(std::string_view text, ConsoleStyle style, bool lineBreak) {
    const ConsoleColours colours = coloursFor(style);
    AppendConsole(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())),
                  colours.text, colours.back, lineBreak);
}

void ConsoleLog::clear() {
    QTextEdit::clear();
}

} // namespace tarwick
