#include "GuiTestSupport.h"
#include "app/AboutDialog.h"

#include <QClipboard>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

using namespace tarwick;
using namespace tarwick::ControlId;
using namespace tarwick::test;

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

    // The rules are the core's; this shows the form follows them, keeps what was typed, saves
    // every choice at once and answers the patterns file's buttons.
    void controlsFollowTheirRulesAndEveryChoiceIsSaved() {
        Application app(4);
        QCOMPARE(enabledOf(app), QStringLiteral("1100000"));
        chooseItem(app, ExternalApp, 2);
        QCOMPARE(enabledOf(app), QStringLiteral("0111000"));
        QVERIFY(saved(app, "external_app=2"));
        chooseItem(app, OpenClPlatform, 7);
        QVERIFY(saved(app, "opencl_device=7") &&
                app.view->generatorOptions().openclDevice == "1:1");
        QTest::keyClicks(app.view->control(RewardAddress), QString(45, QLatin1Char('x')));
        chooseItem(app, ExternalApp, 0);
        QCOMPARE(enabledOf(app), QStringLiteral("1100000"));
        QCOMPARE(controlOf<QLineEdit>(*app.view, RewardAddress)->text(),
                 QString(40, QLatin1Char('x')));
        chooseItem(app, CpuThreads, 3);
        QVERIFY(saved(app, "threads_cpu=3") && app.view->generatorOptions().cpuThreads == 4);
        auto* patterns = controlOf<QPlainTextEdit>(*app.view, PatternsBox);
        patterns->setFocus();
        QTest::keyClicks(patterns, QString(1020, QLatin1Char('1')) + QStringLiteral("ABCDEFG"));
        QTest::keyClick(patterns, Qt::Key_Return);
        QApplication::clipboard()->setText(QStringLiteral("HI"));
        patterns->paste();
        QCOMPARE(patterns->toPlainText(), QString(1020, QLatin1Char('1')) + QStringLiteral("ABCD"));
        click(app, PatternsFromFile);
        QVERIFY(saved(app, "select_edit_patt=0") && saved(app, "select_file_patt=1"));
        std::filesystem::remove(app.folder() / "Settings.ini");
        click(app, PatternsFromFile); // already checked: stays so, and is saved all the same
        QVERIFY(controlOf<QRadioButton>(*app.view, PatternsFromFile)->isChecked());
        QVERIFY(saved(app, "select_file_patt=1"));
        QCOMPARE(enabledOf(app), QStringLiteral("1000111"));
        QVERIFY(patterns->toPlainText().endsWith(QStringLiteral("1ABCD")));
        click(app, EditPatternsFile);
        QCOMPARE(app.dialogs.shown.back().text,
                 std::string("No patterns file selected.\nPlease select the file that contains "
                             "the patterns to search."));
        std::ofstream(app.folder() / "my patterns.txt") << "1Abc\n";
        app.dialogs.fileChoices = {std::nullopt, std::string("my patterns.txt")};
        click(app, SelectFile); // cancelled: nothing changes
        QVERIFY(app.view->preferences().values().patternsFilePath.empty());
        click(app, SelectFile);
        QVERIFY(saved(app, "selected_file_patterns=my patterns.txt"));
        click(app, EditPatternsFile);
        QCOMPARE(app.shell.editedFiles, std::vector<std::string>{"my patterns.txt"});
        std::filesystem::remove(app.folder() / "my patterns.txt");
        click(app, EditPatternsFile);
        QCOMPARE(app.dialogs.shown.back().text, std::string("Patterns file not found."));
        QCOMPARE(app.shell.editedFiles.size(), std::size_t{1});
        click(app, PatternsFromBox);
        QCOMPARE(enabledOf(app), QStringLiteral("1100000"));
    }

    void consoleAppendsAtTheEndAndCopiesOnlyWithTheFocus() {
        Application app;
        ConsoleLog& console = app.view->console();
        console.selectAll();
        console.AppendConsole(QStringLiteral("second"), Qt::red, Qt::black, false);
        QCOMPARE(console.toPlainText(), QStringLiteral("Tarwick v1.1a\nsecond"));
        QVERIFY(!console.textCursor().hasSelection());
        console.moveCursor(QTextCursor::Start);
        console.moveCursor(QTextCursor::EndOfWord, QTextCursor::KeepAnchor); // "Tarwick"
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
        // Starting up rewrites nothing, so lines the program does not know are kept.
        const std::string original = "; kept\r\n[Settings]\r\npool_url=http://127.0.0.1:8080\r\n";
        Application app(2, original);
        QCOMPARE(savedSettings(app), original);
        const std::tuple<int, std::string, std::string> boxes[] = {
            {CommandId::HelpVanitygenCpu, "Vanitygen CPU", "send Bitcoin to 1Jenny"},
            {CommandId::HelpVanitygenGpu, "Vanitygen (OpenCL GPU)",
             "In this case it has OpenCL platforms 0:0 and 0:1\n\n"},
            // The server named is the one the miner is given.
            {CommandId::HelpVanityminerPool, "Vanityminer pool (OpenCL GPU)",
             "Pool:\nhttp://127.0.0.1:8080/availableWork\n\n(Internet connection required)"}};
        for (const auto& [commandId, caption, text] : boxes) {
            app.frame->command(commandId)->trigger();
            QCOMPARE(app.dialogs.shown.back().caption, caption);
            QVERIFY2(app.dialogs.shown.back().text.find(text) != std::string::npos, text.c_str());
        }
        const std::tuple<int, bool ViewSettings::*, std::string> options[] = {
            {CommandId::CaseInsensitive, &ViewSettings::caseInsensitive, "case_insensitive="},
            {CommandId::PlaySound, &ViewSettings::playSound, "play_sound_found="},
            {CommandId::ScrollLockLight, &ViewSettings::scrollLockLight, "scrollLocl_light_on="},
            {CommandId::AvoidOverheating, &ViewSettings::avoidOverheating, "avoid_overheating="}};
        for (const auto& [commandId, flag, key] : options) {
            QAction* item = app.frame->command(commandId);
            for (const char* on : {"1", "0"}) {
                item->trigger();
                QVERIFY2(saved(app, key + on), key.c_str());
            }
            // The check mark follows the preference, whoever changed it.
            app.view->preferences().set(flag, true);
            QVERIFY2(item->isChecked(), key.c_str());
        }
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

    // Keys stay in place, new ones follow in their fixed order, unknown lines and the found
    // addresses untouched: the file a user already has keeps its layout byte for byte. A restart
    // shows what was saved.
    void savedFileKeepsItsLayoutAndARestartShowsIt() {
        const std::string found = settingsWithAddresses({{"1A", "1AKept", "5KKept"}});
        std::string settings;
        {
            Application app(4, "; kept\r\n[Settings]\r\nunknown=x\r\nthreads_cpu=15\r\n"
                               "pool_url=http://127.0.0.1:8080\r\n[Patterns_search]\r\n"
                               "patterns=1Old-1Two\r\n" +
                                   found);
            std::ofstream(app.folder() / "p.txt") << "1Abc\n";
            app.dialogs.fileChoices = {std::string("p.txt")};
            chooseItem(app, ExternalApp, 2);
            chooseItem(app, OpenClPlatform, 9);
            QTest::keyClicks(app.view->control(RewardAddress), QStringLiteral("1Reward"));
            auto* box = controlOf<QPlainTextEdit>(*app.view, PatternsBox);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, QStringLiteral("1New-you "));
            app.frame->command(CommandId::CaseInsensitive)->trigger();
            app.frame->command(CommandId::AvoidOverheating)->trigger();
            click(app, PatternsFromFile);
            click(app, SelectFile);
            app.frame->close(); // saves the patterns
            settings = savedSettings(app);
        }
        QCOMPARE(settings,
                 "; kept\r\n[Settings]\r\nunknown=x\r\nthreads_cpu=0\r\n"
                 "pool_url=http://127.0.0.1:8080\r\nexternal_app=2\r\nopencl_device=9\r\n"
                 "case_insensitive=1\r\nscrollLocl_light_on=0\r\nplay_sound_found=0\r\n"
                 "avoid_overheating=1\r\nselect_edit_patt=0\r\nselect_file_patt=1\r\n"
                 "selected_file_patterns=p.txt\r\nbtc_reward=1Reward\r\n[Patterns_search]\r\n"
                 "patterns=1Old-1Two-1New-you\r\n" +
                     found);
        Application again(4, settings);
        QCOMPARE(controlOf<QComboBox>(*again.view, OpenClPlatform)->currentText(),
                 QStringLiteral("1:3"));
        QVERIFY(again.view->control(RewardAddress)->isEnabled());
        QCOMPARE(controlOf<QLineEdit>(*again.view, RewardAddress)->text(),
                 QStringLiteral("1Reward"));
        // Every "-" of the stored line reads back as a line break.
        QCOMPARE(controlOf<QPlainTextEdit>(*again.view, PatternsBox)->toPlainText(),
                 QStringLiteral("1Old\n1Two\n1New\nyou"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
