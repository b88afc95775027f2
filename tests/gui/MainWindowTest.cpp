#include "GuiTestSupport.h"
#include "app/AboutDialog.h"

#include <QClipboard>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

using namespace tarwick;
using namespace tarwick::ControlId;
using tarwick::test::Application;
using tarwick::test::controlOf;

namespace {

// Which of the controls are enabled, as "1" and "0" in their order.
QString enabledOf(const Application& app) {
    QString states;
    for (int id : {CpuThreads, PatternsBox, OpenClPlatform, RewardAddress, SelectFile,
                   PatternsFilePath, EditPatternsFile}) {
        states += app.view->control(id)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    }
    return states;
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
    void sizeAndFocusOrder() {
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
             w = w->nextInFocusChain()) {
            if (const int id = w->property(controlIdProperty).toInt(); id && !chain.contains(id)) {
                chain << id;
            }
        }
        QCOMPARE(chain, tabOrder);
        QCOMPARE(app.view->control(StopSearch)->geometry(),
                 app.view->control(StartSearch)->geometry());
    }

    void controlsFollowTheGeneratorAndPatternSource() {
        // The rules are the core's; this shows the form follows them and keeps what was typed.
        Application app;
        QCOMPARE(enabledOf(app), QStringLiteral("1100000"));
        test::chooseItem(app, ExternalApp, 2);
        QCOMPARE(enabledOf(app), QStringLiteral("0111000"));
        QTest::keyClicks(app.view->control(RewardAddress), QString(45, QLatin1Char('x')));
        test::chooseItem(app, ExternalApp, 0);
        QCOMPARE(enabledOf(app), QStringLiteral("1100000"));
        QCOMPARE(controlOf<QLineEdit>(*app.view, RewardAddress)->text(),
                 QString(40, QLatin1Char('x')));
        auto* patterns = controlOf<QPlainTextEdit>(*app.view, PatternsBox);
        patterns->setFocus();
        QTest::keyClicks(patterns, QString(1020, QLatin1Char('1')) + QStringLiteral("ABCDEFG"));
        QTest::keyClick(patterns, Qt::Key_Return);
        QApplication::clipboard()->setText(QStringLiteral("HI"));
        QTest::keyClick(patterns, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(patterns->toPlainText(), QString(1020, QLatin1Char('1')) + QStringLiteral("ABCD"));
        for (int twice = 0; twice < 2; ++twice) { // the checked radio stays checked
            test::click(app, PatternsFromFile);
        }
        QVERIFY(controlOf<QRadioButton>(*app.view, PatternsFromFile)->isChecked());
        QCOMPARE(enabledOf(app), QStringLiteral("1000111"));
        QVERIFY(patterns->toPlainText().endsWith(QStringLiteral("1ABCD")));
        test::click(app, PatternsFromBox);
        QCOMPARE(enabledOf(app), QStringLiteral("1100000"));
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
        for (QWidget* focus : {combo, static_cast<QWidget*>(&console)}) {
            focus->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), focus);
            for (const Qt::Key key : {Qt::Key_C, Qt::Key_Insert, Qt::Key_unknown}) {
                QApplication::clipboard()->setText(QStringLiteral("untouched"));
                key == Qt::Key_unknown ? app.view->OnEditCopy()
                                       : QTest::keyClick(focus, key, Qt::ControlModifier);
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
