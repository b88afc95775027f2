#include "GuiTestSupport.h"
#include "app/AboutDialog.h"

#include <QClipboard>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBlock>

using namespace tarwick;
using namespace tarwick::ControlId;
using tarwick::test::Application;
using tarwick::test::controlOf;

namespace {

// The colour drawn near the widget's lower left corner, clear of text and scroll bars.
QString drawnBackground(QWidget& widget) {
    return widget.grab().toImage().pixelColor(5, widget.height() - 5).name();
}

// Which of the controls are enabled, as "1" and "0" in their order.
QString enabledOf(const Application& app) {
    QString states;
    for (int id : {CpuThreads, PatternsBox, OpenClPlatform, RewardAddress, SelectFile,
                   PatternsFilePath, EditPatternsFile})
        states += app.view->control(id)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

// The console's text as "text|foreground|background|bold" runs; a line break is the separator
// that starts the next block, in that block's format.
QStringList consolePieces(const ConsoleLog& console) {
    const auto piece = [](const QString& text, const QTextCharFormat& f) {
        return text + QLatin1Char('|') + f.foreground().color().name() + QLatin1Char('|') +
               f.background().color().name() +
               QLatin1String(f.fontWeight() == QFont::Bold ? "|b" : "|");
    };
    QStringList pieces;
    for (QTextBlock block = console.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            pieces << piece(it.fragment().text(), it.fragment().charFormat());
        if (block.next().isValid())
            pieces << piece(QStringLiteral("\n"), block.next().charFormat());
    }
    return pieces;
}

void selectConsoleText(ConsoleLog& console, int length) {
    QTextCursor selection(console.document());
    selection.setPosition(length, QTextCursor::KeepAnchor);
    console.setTextCursor(selection);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void sizeFocusOrderAndColours() {
        Application app(8);
        const QSize size = app.frame->size();
        QVERIFY(size.width() == app.view->width() && size.width() <= 1040 && size.height() <= 815);
        QVERIFY(!(app.frame->windowFlags() & Qt::WindowMaximizeButtonHint));
        app.frame->resize(size + QSize(50, 50));
        QCOMPARE(app.frame->size(), size);
        QCOMPARE(controlOf<QComboBox>(*app.view, CpuThreads)->count(), 8);
        const QList<int> tabOrder{1000, 1010, 1032, 1020, 1021, 1022, 1023, 1024,
                                  1029, 1030, 1031, 1011, 1033, 1034, 1035, 1036};
        QList<int> chain;
        for (QWidget* w = app.view->control(FoundList); chain.size() < tabOrder.size();
             w = w->nextInFocusChain())
            if (const int id = w->property(controlIdProperty).toInt(); id && !chain.contains(id))
                chain << id;
        QCOMPARE(chain, tabOrder);
        QCOMPARE(app.view->control(StopSearch)->geometry(),
                 app.view->control(StartSearch)->geometry());
        QWidget* patterns = app.view->control(PatternsBox);
        QCOMPARE(drawnBackground(*app.view), QStringLiteral("#404040"));
        for (QWidget* box :
             {static_cast<QWidget*>(&app.view->console()), patterns, app.view->control(Progress)})
            QCOMPARE(drawnBackground(*box), QStringLiteral("#252526"));
        patterns->setEnabled(false);
        QCOMPARE(drawnBackground(*patterns), QStringLiteral("#404040"));
    }

    void controlsFollowTheGeneratorAndPatternSource() {
        // The rules are the core's; this shows the form follows them and keeps what was typed.
        Application app;
        QCOMPARE(enabledOf(app), QStringLiteral("1100000"));
        auto* apps = controlOf<QComboBox>(*app.view, ExternalApp);
        apps->setCurrentIndex(2);
        emit apps->activated(2);
        QCOMPARE(enabledOf(app), QStringLiteral("0111000"));
        QTest::keyClicks(app.view->control(RewardAddress), QString(45, QLatin1Char('x')));
        apps->setCurrentIndex(0);
        emit apps->activated(0);
        QCOMPARE(enabledOf(app), QStringLiteral("1100000"));
        QCOMPARE(controlOf<QLineEdit>(*app.view, RewardAddress)->text(),
                 QString(40, QLatin1Char('x')));
        auto* patterns = controlOf<QPlainTextEdit>(*app.view, PatternsBox);
        patterns->setFocus();
        QTest::keyClicks(patterns, QString(1020, QLatin1Char('1')) + QStringLiteral("ABCDEFG"));
        QTest::keyClick(patterns, Qt::Key_Return);
        QCOMPARE(patterns->toPlainText(), QString(1020, QLatin1Char('1')) + QStringLiteral("ABCD"));
        auto* fromFile = controlOf<QRadioButton>(*app.view, PatternsFromFile);
        for (int click = 0; click < 2; ++click) // the checked radio stays checked
            QTest::mouseClick(fromFile, Qt::LeftButton, {}, QPoint(5, fromFile->height() / 2));
        QVERIFY(fromFile->isChecked());
        QCOMPARE(enabledOf(app), QStringLiteral("1000111"));
        QVERIFY(patterns->toPlainText().endsWith(QStringLiteral("1ABCD")));
        QTest::mouseClick(app.view->control(PatternsFromBox), Qt::LeftButton, {},
                          QPoint(5, fromFile->height() / 2));
        QCOMPARE(enabledOf(app), QStringLiteral("1100000"));
    }

    void consoleStylesDrawTheirColoursLineBreaksIncluded() {
        Application app;
        ConsoleLog& console = app.view->console();
        QCOMPARE(consolePieces(console).value(0),
                 QStringLiteral("Tarwick v1.1a|#ffffff|#252526|b"));
        const std::pair<ConsoleStyle, const char*> cases[] = {
            {ConsoleStyle::Plain, "#ffffff|#252526"},
            {ConsoleStyle::Heading, "#65b9c1|#252526"},
            {ConsoleStyle::Label, "#d9a751|#252526"},
            {ConsoleStyle::FoundValue, "#4b9a43|#252526"},
            {ConsoleStyle::Error, "#cb4545|#252526"},
            {ConsoleStyle::Completed, "#ffffff|#176e0b"},
            {ConsoleStyle::Canceled, "#ffffff|#cb4545"}};
        for (const auto& [style, colours] : cases) {
            static_cast<ConsoleSink&>(console).clear();
            static_cast<ConsoleSink&>(console).append("[ERROR]\nline", style, true);
            const QString c = QLatin1Char('|') + QLatin1String(colours) + QStringLiteral("|b");
            QCOMPARE(consolePieces(console),
                     (QStringList{QStringLiteral("[ERROR]") + c, QLatin1Char('\n') + c,
                                  QStringLiteral("line") + c, QLatin1Char('\n') + c}));
        }
    }

    void consoleAppendsAtTheEndAndCopiesOnlyWithTheFocus() {
        Application app;
        ConsoleLog& console = app.view->console();
        selectConsoleText(console, 5);
        console.AppendConsole(QStringLiteral("second"), Qt::red, Qt::black, false);
        QCOMPARE(console.toPlainText(), QStringLiteral("Tarwick v1.1a\nsecond"));
        QVERIFY(!console.textCursor().hasSelection());
        selectConsoleText(console, 7);
        QWidget* combo = app.view->control(ExternalApp);
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

    void menuCommandsOfTheWindow() {
        Application app;
        app.frame->command(CommandId::ToggleStatusBar)->trigger();
        QVERIFY(!app.frame->statusBar()->isVisible());
        app.frame->command(CommandId::About)->trigger();
        auto* about = app.frame->findChild<AboutDialog*>();
        QVERIFY(about && about->isModal() && QTest::qWaitForWindowExposed(about));
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("aboutOk")),
                          Qt::LeftButton);
        QTRY_VERIFY(!app.frame->findChild<AboutDialog*>());
        app.frame->command(CommandId::Exit)->trigger();
        QVERIFY(!app.frame->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
