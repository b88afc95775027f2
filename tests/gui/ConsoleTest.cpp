#include "GuiTestSupport.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace tarwick;
using tarwick::test::Application;

namespace {

struct Piece {
    QString text;
    QColor foreground;
    QColor background;
    bool bold;
};

// The console's text as runs of one character format each, line breaks included.
QList<Piece> piecesOf(const ConsoleLog& console) {
    QList<Piece> pieces;
    for (QTextBlock block = console.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            pieces.append({fragment.text(), format.foreground().color(),
                           format.background().color(), format.fontWeight() == QFont::Bold});
        }
        if (block.next().isValid()) {
            // A line break is the separator that starts the next block, with its own format.
            const QTextCharFormat format = block.next().charFormat();
            pieces.append({QStringLiteral("\n"), format.foreground().color(),
                           format.background().color(), format.fontWeight() == QFont::Bold});
        }
    }
    return pieces;
}

const QColor teal(0x65, 0xB9, 0xC1), amber(0xD9, 0xA7, 0x51), red(0xCB, 0x45, 0x45),
    green(0x4B, 0x9A, 0x43), white(Qt::white), darkGreen(0x17, 0x6E, 0x0B),
    consoleBg(0x25, 0x25, 0x26);

} // namespace

class ConsoleTest : public QObject {
    Q_OBJECT
private slots:
    void startupLineIsWhite();
    void piecesKeepTheirColoursAndBreaksTakeThem();
    void stylesMapToTheirColours();
    void appendGoesToTheEndWhateverIsSelected();
    void clearingEmptiesTheConsole();
    void copyTakesTheSelectionOnlyWhenTheConsoleHasFocus();
};

void ConsoleTest::startupLineIsWhite() {
    Application app;
    const QList<Piece> pieces = piecesOf(app.view->console());
    QVERIFY(pieces.size() >= 1);
    QCOMPARE(pieces[0].text, QStringLiteral("Tarwick v1.1a"));
    QCOMPARE(pieces[0].foreground, white);
    QCOMPARE(pieces[0].background, consoleBg);
    QVERIFY(pieces[0].bold);
}

void ConsoleTest::piecesKeepTheirColoursAndBreaksTakeThem() {
    Application app;
    ConsoleLog& console = app.view->console();
    console.clear();
    console.AppendConsole(QStringLiteral("Process: "), amber, consoleBg, false);
    console.AppendConsole(QStringLiteral("Vanitygen (CPU)"), white, consoleBg, true);
    console.AppendConsole(QStringLiteral("Search completed"), white, darkGreen, true);
    const QList<Piece> pieces = piecesOf(console);
    QCOMPARE(pieces.size(), 5);
    QCOMPARE(pieces[0].text, QStringLiteral("Process: "));
    QCOMPARE(pieces[0].foreground, amber);
    QCOMPARE(pieces[1].text, QStringLiteral("Vanitygen (CPU)"));
    QCOMPARE(pieces[1].foreground, white);
    QCOMPARE(pieces[2].text, QStringLiteral("\n"));
    QCOMPARE(pieces[2].background, consoleBg);
    QCOMPARE(pieces[3].text, QStringLiteral("Search completed"));
    QCOMPARE(pieces[3].background, darkGreen);
    // The line break of a piece spans its back colour too.
    QCOMPARE(pieces[4].text, QStringLiteral("\n"));
    QCOMPARE(pieces[4].background, darkGreen);
    for (const Piece& piece : pieces)
        QVERIFY(piece.bold);
    QCOMPARE(console.toPlainText(), QStringLiteral("Process: Vanitygen (CPU)\nSearch completed\n"));
}

void ConsoleTest::stylesMapToTheirColours() {
    Application app;
    ConsoleLog& console = app.view->console();
    struct Case {
        ConsoleStyle style;
        QColor text, back;
    };
    const Case cases[] = {
        {ConsoleStyle::Plain, white, consoleBg}, {ConsoleStyle::Heading, teal, consoleBg},
        {ConsoleStyle::Label, amber, consoleBg}, {ConsoleStyle::FoundValue, green, consoleBg},
        {ConsoleStyle::Error, red, consoleBg},   {ConsoleStyle::Completed, white, darkGreen},
        {ConsoleStyle::Canceled, white, red}};
    for (const Case& c : cases) {
        console.clear();
        static_cast<ConsoleSink&>(console).append("[ERROR]\nline", c.style, false);
        const QList<Piece> pieces = piecesOf(console);
        QCOMPARE(console.toPlainText(), QStringLiteral("[ERROR]\nline"));
        for (const Piece& piece : pieces) {
            QCOMPARE(piece.foreground, c.text);
            QCOMPARE(piece.background, c.back);
        }
    }
}

void ConsoleTest::appendGoesToTheEndWhateverIsSelected() {
    Application app;
    ConsoleLog& console = app.view->console();
    console.clear();
    console.AppendConsole(QStringLiteral("first line"), white, consoleBg, true);
    QTextCursor selection(console.document());
    selection.setPosition(0);
    selection.setPosition(5, QTextCursor::KeepAnchor);
    console.setTextCursor(selection);
    QVERIFY(console.textCursor().hasSelection());
    console.AppendConsole(QStringLiteral("second"), red, consoleBg, false);
    QCOMPARE(console.toPlainText(), QStringLiteral("first line\nsecond"));
    QVERIFY(!console.textCursor().hasSelection());
}

void ConsoleTest::clearingEmptiesTheConsole() {
    Application app;
    ConsoleSink& sink = app.view->console();
    sink.append("text", ConsoleStyle::Heading, true);
    sink.clear();
    QVERIFY(app.view->console().toPlainText().isEmpty());
    sink.append("after", ConsoleStyle::Plain, false);
    QCOMPARE(app.view->console().toPlainText(), QStringLiteral("after"));
}

void ConsoleTest::copyTakesTheSelectionOnlyWhenTheConsoleHasFocus() {
    Application app;
    ConsoleLog& console = app.view->console();
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    QTextCursor selection(console.document());
    selection.setPosition(0);
    selection.setPosition(7, QTextCursor::KeepAnchor);
    console.setTextCursor(selection);

    // Focus elsewhere: the command does nothing, by its keys or as a command.
    QWidget* combo = app.view->control(ControlId::ExternalApp);
    combo->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), combo);
    QTest::keyClick(combo, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(combo, Qt::Key_Insert, Qt::ControlModifier);
    app.view->OnEditCopy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("untouched"));

    console.setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&console));
    QTest::keyClick(&console, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Tarwick"));

    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    QTest::keyClick(&console, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Tarwick"));

    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    app.view->OnEditCopy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Tarwick"));
}

QTEST_MAIN(ConsoleTest)
#include "ConsoleTest.moc"
