#include "GuiTestSupport.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <functional>

using namespace tarwick;
using tarwick::test::Application;

namespace {

struct Piece {
    QString text;
    QColor foreground;
    QColor background;
    bool bold;
};

Piece pieceOf(const QString& text, const QTextCharFormat& format) {
    return {text, format.foreground().color(), format.background().color(),
            format.fontWeight() == QFont::Bold};
}

// The console's text as runs of one character format each, line breaks included.
QList<Piece> piecesOf(const ConsoleLog& console) {
    QList<Piece> pieces;
    for (QTextBlock block = console.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            pieces.append(pieceOf(it.fragment().text(), it.fragment().charFormat()));
        // A line break is the separator that starts the next block, with its own format.
        if (block.next().isValid())
            pieces.append(pieceOf(QStringLiteral("\n"), block.next().charFormat()));
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
    void stylesMapToTheirColoursLineBreaksIncluded();
    void appendGoesToTheEndWhateverIsSelected();
    void copyTakesTheSelectionOnlyWhenTheConsoleHasFocus();
};

void ConsoleTest::stylesMapToTheirColoursLineBreaksIncluded() {
    Application app;
    ConsoleLog& console = app.view->console();
    ConsoleSink& sink = console;
    const Piece startup = piecesOf(console).value(0);
    QCOMPARE(startup.text, QStringLiteral("Tarwick v1.1a"));
    QVERIFY(startup.foreground == white && startup.background == consoleBg && startup.bold);
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
        sink.clear();
        sink.append("[ERROR]\nline", c.style, true);
        QCOMPARE(console.toPlainText(), QStringLiteral("[ERROR]\nline\n"));
        // The line breaks, the one that ends the piece too, take the piece's back colour.
        const QList<Piece> pieces = piecesOf(console);
        QCOMPARE(pieces.size(), 4);
        for (const Piece& piece : pieces)
            QVERIFY(piece.foreground == c.text && piece.background == c.back && piece.bold);
    }
    sink.append("Process: ", ConsoleStyle::Label, false);
    sink.append("Vanitygen (CPU)", ConsoleStyle::Plain, true);
    QVERIFY(console.toPlainText().endsWith(QStringLiteral("\nProcess: Vanitygen (CPU)\n")));
}

void ConsoleTest::appendGoesToTheEndWhateverIsSelected() {
    Application app;
    ConsoleLog& console = app.view->console();
    QTextCursor selection(console.document());
    selection.setPosition(0);
    selection.setPosition(5, QTextCursor::KeepAnchor);
    console.setTextCursor(selection);
    QVERIFY(console.textCursor().hasSelection());
    console.AppendConsole(QStringLiteral("second"), red, consoleBg, false);
    QCOMPARE(console.toPlainText(), QStringLiteral("Tarwick v1.1a\nsecond"));
    QVERIFY(!console.textCursor().hasSelection());
}

void ConsoleTest::copyTakesTheSelectionOnlyWhenTheConsoleHasFocus() {
    Application app;
    ConsoleLog& console = app.view->console();
    QTextCursor selection(console.document());
    selection.setPosition(0);
    selection.setPosition(7, QTextCursor::KeepAnchor);
    console.setTextCursor(selection);
    QWidget* combo = app.view->control(ControlId::ExternalApp);
    const std::function<void(QWidget*)> copies[] = {
        [](QWidget* w) { QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier); },
        [](QWidget* w) { QTest::keyClick(w, Qt::Key_Insert, Qt::ControlModifier); },
        [&app](QWidget*) { app.view->OnEditCopy(); }};
    for (QWidget* focus : {combo, static_cast<QWidget*>(&console)}) {
        focus->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), focus);
        for (const auto& copy : copies) {
            QApplication::clipboard()->setText(QStringLiteral("untouched"));
            copy(focus);
            QCOMPARE(QApplication::clipboard()->text(),
                     focus == combo ? QStringLiteral("untouched") : QStringLiteral("Tarwick"));
        }
    }
}

QTEST_MAIN(ConsoleTest)
#include "ConsoleTest.moc"
