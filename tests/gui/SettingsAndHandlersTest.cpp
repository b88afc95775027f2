#include "GuiTestSupport.h"

#include <QMenu>

using namespace tarwick;
using namespace tarwick::test;

namespace {

bool saved(const Application& app, const std::string& line) {
    return savedSettings(app).find(line + "\r\n") != std::string::npos;
}

} // namespace

class SettingsAndHandlersTest : public QObject {
    Q_OBJECT
private slots:
    void everyChoiceIsSavedAtOnceAndStartUpWritesNothing() {
        Application app(4);
        QVERIFY(!std::filesystem::exists(app.folder() / "Settings.ini"));
        chooseItem(app, ControlId::ExternalApp, 2);
        QVERIFY(saved(app, "external_app=2"));
        chooseItem(app, ControlId::OpenClPlatform, 7);
        QVERIFY(saved(app, "opencl_device=7") &&
                app.view->generatorOptions().openclDevice == "1:1");
        chooseItem(app, ControlId::ExternalApp, 0);
        chooseItem(app, ControlId::CpuThreads, 3);
        QVERIFY(saved(app, "threads_cpu=3") && app.view->generatorOptions().cpuThreads == 4);
        click(app, ControlId::PatternsFromFile);
        QVERIFY(saved(app, "select_edit_patt=0") && saved(app, "select_file_patt=1"));
        std::filesystem::remove(app.folder() / "Settings.ini");
        click(app, ControlId::PatternsFromFile); // already checked: saved all the same
        QVERIFY(saved(app, "select_file_patt=1"));
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
        // Starting up rewrites nothing, so lines the program does not know are kept.
        const std::string original = "; kept\r\n[Settings]\r\nexternal_app=1\r\nunknown=x\r\n";
        Application second(2, original);
        QCOMPARE(savedSettings(second), original);
    }

    void patternsFileButtons() {
        Application app;
        click(app, ControlId::PatternsFromFile);
        click(app, ControlId::EditPatternsFile);
        QCOMPARE(app.dialogs.shown.back().text,
                 std::string("No patterns file selected.\nPlease select the file that contains "
                             "the patterns to search."));
        std::ofstream(app.folder() / "my patterns.txt") << "1Abc\n";
        app.dialogs.fileChoices = {std::nullopt, std::string("my patterns.txt")};
        click(app, ControlId::SelectFile); // cancelled: nothing changes
        QVERIFY(app.view->preferences().values().patternsFilePath.empty());
        click(app, ControlId::SelectFile);
        QVERIFY(saved(app, "selected_file_patterns=my patterns.txt"));
        click(app, ControlId::EditPatternsFile);
        QCOMPARE(app.shell.editedFiles, std::vector<std::string>{"my patterns.txt"});
        std::filesystem::remove(app.folder() / "my patterns.txt");
        click(app, ControlId::EditPatternsFile);
        QCOMPARE(app.dialogs.shown.back().text, std::string("Patterns file not found."));
        QCOMPARE(app.shell.editedFiles.size(), std::size_t{1});
    }

    void helpBoxesShowTheirTexts() {
        Application app(2, "[Settings]\r\npool_url=http://127.0.0.1:8080\r\n");
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
            chooseItem(app, ControlId::ExternalApp, 2);
            chooseItem(app, ControlId::OpenClPlatform, 9);
            QTest::keyClicks(app.view->control(ControlId::RewardAddress),
                             QStringLiteral("1Reward"));
            auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, QStringLiteral("1New-you "));
            app.frame->command(CommandId::CaseInsensitive)->trigger();
            app.frame->command(CommandId::AvoidOverheating)->trigger();
            click(app, ControlId::PatternsFromFile);
            click(app, ControlId::SelectFile);
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
        QCOMPARE(controlOf<QComboBox>(*again.view, ControlId::OpenClPlatform)->currentText(),
                 QStringLiteral("1:3"));
        QVERIFY(again.view->control(ControlId::RewardAddress)->isEnabled());
        QCOMPARE(controlOf<QLineEdit>(*again.view, ControlId::RewardAddress)->text(),
                 QStringLiteral("1Reward"));
        // Every "-" of the stored line reads back as a line break.
        QCOMPARE(controlOf<QPlainTextEdit>(*again.view, ControlId::PatternsBox)->toPlainText(),
                 QStringLiteral("1Old\n1Two\n1New\nyou"));
    }
};

QTEST_MAIN(SettingsAndHandlersTest)
#include "SettingsAndHandlersTest.moc"
