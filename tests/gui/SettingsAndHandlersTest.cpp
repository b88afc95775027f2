#include "GuiTestSupport.h"
#include "TestGenerators.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>

using namespace tarwick;
using namespace std::chrono_literals;
using tarwick::test::Application;
using tarwick::test::controlOf;
using tarwick::test::fileText;

namespace {

void choose(Application& app, int comboId, int index) {
    auto* combo = controlOf<QComboBox>(*app.view, comboId);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void click(Application& app, int controlId) {
    QWidget* control = app.view->control(controlId);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, control->height() / 2));
}

std::string settingsOf(const Application& app) {
    return tarwick::test::savedSettings(app);
}

bool holds(const std::string& settings, const std::string& line) {
    return settings.find(line + "\r\n") != std::string::npos;
}

} // namespace

class SettingsAndHandlersTest : public QObject {
    Q_OBJECT
private slots:
    void startUpWritesNothing();
    void everyChoiceIsSavedAtOnce();
    void restartShowsTheSavedState();
    void savedFileKeepsItsLayout();
    void storedIndexOutsideItsListSelectsTheFirstItem();
    void patternsFileButtons();
    void helpBoxesShowTheirTexts();
    void closeStopsTheRunAndSavesTheOptions();
    void overheatingPausesCountsDownAndResumes();
    void stopDuringThePauseEndsIt();
};

void SettingsAndHandlersTest::startUpWritesNothing() {
    Application app;
    QVERIFY(!std::filesystem::exists(app.folder() / "Settings.ini"));
    const std::string original = "; kept\r\n[Settings]\r\nexternal_app=1\r\nunknown=x\r\n";
    Application second(2, original);
    QCOMPARE(QString::fromStdString(settingsOf(second)), QString::fromStdString(original));
}

void SettingsAndHandlersTest::everyChoiceIsSavedAtOnce() {
    Application app(4);
    choose(app, ControlId::ExternalApp, 2);
    QVERIFY(holds(settingsOf(app), "external_app=2"));
    choose(app, ControlId::OpenClPlatform, 7);
    QVERIFY(holds(settingsOf(app), "opencl_device=7"));
    QCOMPARE(app.view->generatorOptions().openclDevice, std::string("1:1"));
    choose(app, ControlId::ExternalApp, 0);
    choose(app, ControlId::CpuThreads, 3);
    QVERIFY(holds(settingsOf(app), "threads_cpu=3"));
    QCOMPARE(app.view->generatorOptions().cpuThreads, 4);

    click(app, ControlId::PatternsFromFile);
    QVERIFY(holds(settingsOf(app), "select_edit_patt=0"));
    QVERIFY(holds(settingsOf(app), "select_file_patt=1"));
    std::filesystem::remove(app.folder() / "Settings.ini");
    click(app, ControlId::PatternsFromFile); // already checked: saved all the same
    QVERIFY(holds(settingsOf(app), "select_file_patt=1"));

    struct Option {
        int commandId;
        const char* key;
    };
    for (const Option& option : {Option{CommandId::CaseInsensitive, "case_insensitive"},
                                 Option{CommandId::PlaySound, "play_sound_found"},
                                 Option{CommandId::ScrollLockLight, "scrollLocl_light_on"},
                                 Option{CommandId::AvoidOverheating, "avoid_overheating"}}) {
        app.frame->command(option.commandId)->trigger();
        QVERIFY2(holds(settingsOf(app), std::string(option.key) + "=1"), option.key);
        app.frame->command(option.commandId)->trigger();
        QVERIFY2(holds(settingsOf(app), std::string(option.key) + "=0"), option.key);
    }
}

void SettingsAndHandlersTest::restartShowsTheSavedState() {
    std::string saved;
    {
        Application app(4);
        choose(app, ControlId::ExternalApp, 2);
        choose(app, ControlId::OpenClPlatform, 9);
        QTest::keyClicks(app.view->control(ControlId::RewardAddress), QStringLiteral("1Reward"));
        auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("1Abc"));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("1Love-you"));
        app.frame->command(CommandId::CaseInsensitive)->trigger();
        app.frame->close();
        saved = settingsOf(app);
    }
    QVERIFY(holds(saved, "patterns=1Abc-1Love-you"));
    QVERIFY(holds(saved, "btc_reward=1Reward"));
    Application again(4, saved);
    QCOMPARE(controlOf<QComboBox>(*again.view, ControlId::ExternalApp)->currentIndex(), 2);
    QCOMPARE(controlOf<QComboBox>(*again.view, ControlId::OpenClPlatform)->currentText(),
             QStringLiteral("1:3"));
    QVERIFY(again.view->control(ControlId::RewardAddress)->isEnabled());
    QCOMPARE(controlOf<QLineEdit>(*again.view, ControlId::RewardAddress)->text(),
             QStringLiteral("1Reward"));
    // Every "-" of the stored line reads back as a line break.
    QCOMPARE(controlOf<QPlainTextEdit>(*again.view, ControlId::PatternsBox)->toPlainText(),
             QStringLiteral("1Abc\n1Love\nyou"));
    QVERIFY(again.view->preferences().values().caseInsensitive);
    QVERIFY(again.frame->command(CommandId::ExportAll) != nullptr);
}

void SettingsAndHandlersTest::savedFileKeepsItsLayout() {
    const std::string before = "; kept\r\n[Settings]\r\nunknown=x\r\nthreads_cpu=15\r\n"
                               "pool_url=http://127.0.0.1:8080\r\n[Patterns_search]\r\n"
                               "patterns=1Old-1Two\r\n" +
                               test::settingsWithAddresses({{"1A", "1AKept", "5KKept"}});
    Application app(4, before);
    std::ofstream(app.folder() / "p.txt") << "1Abc\n";
    app.dialogs.fileChoices = {std::string("p.txt")};
    choose(app, ControlId::ExternalApp, 2);
    choose(app, ControlId::OpenClPlatform, 9);
    QTest::keyClicks(app.view->control(ControlId::RewardAddress), QStringLiteral("1Reward"));
    auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, QStringLiteral("1New "));
    app.frame->command(CommandId::CaseInsensitive)->trigger();
    app.frame->command(CommandId::AvoidOverheating)->trigger();
    click(app, ControlId::PatternsFromFile);
    click(app, ControlId::SelectFile);
    app.frame->close();
    // Keys stay in place, new ones follow in their fixed order, the found addresses untouched.
    const std::string after =
        "; kept\r\n[Settings]\r\nunknown=x\r\nthreads_cpu=0\r\npool_url=http://127.0.0.1:8080\r\n"
        "external_app=2\r\nopencl_device=9\r\ncase_insensitive=1\r\nscrollLocl_light_on=0\r\n"
        "play_sound_found=0\r\navoid_overheating=1\r\nselect_edit_patt=0\r\nselect_file_patt=1\r\n"
        "selected_file_patterns=p.txt\r\nbtc_reward=1Reward\r\n[Patterns_search]\r\n"
        "patterns=1Old-1Two-1New\r\n" +
        test::settingsWithAddresses({{"1A", "1AKept", "5KKept"}});
    QCOMPARE(QString::fromStdString(settingsOf(app)), QString::fromStdString(after));
}

void SettingsAndHandlersTest::storedIndexOutsideItsListSelectsTheFirstItem() {
    Application app(2, "[Settings]\r\nexternal_app=7\r\nthreads_cpu=15\r\nopencl_device=-4\r\n");
    QCOMPARE(controlOf<QComboBox>(*app.view, ControlId::ExternalApp)->currentIndex(), 0);
    QCOMPARE(app.view->generatorOptions().externalApp, std::string("Vanitygen (CPU)"));
    QCOMPARE(app.view->generatorOptions().cpuThreads, 1);
    QCOMPARE(app.view->generatorOptions().openclDevice, std::string("0:0"));
    // The controls follow the item selected, not the stored number.
    QVERIFY(app.view->control(ControlId::CpuThreads)->isEnabled());
    QVERIFY(!app.view->control(ControlId::OpenClPlatform)->isEnabled());
}

void SettingsAndHandlersTest::patternsFileButtons() {
    Application app;
    click(app, ControlId::PatternsFromFile);
    click(app, ControlId::EditPatternsFile);
    QCOMPARE(app.dialogs.shown.back().text,
             std::string("No patterns file selected.\nPlease select the file that contains the "
                         "patterns to search."));
    QCOMPARE(app.dialogs.shown.back().caption, std::string("Tarwick"));

    std::ofstream(app.folder() / "my patterns.txt") << "1Abc\n";
    app.dialogs.fileChoices = {std::nullopt, std::string("my patterns.txt")};
    click(app, ControlId::SelectFile); // cancelled: nothing changes
    QVERIFY(app.view->preferences().values().patternsFilePath.empty());
    click(app, ControlId::SelectFile);
    QCOMPARE(app.view->preferences().values().patternsFilePath, std::string("my patterns.txt"));
    QVERIFY(holds(settingsOf(app), "selected_file_patterns=my patterns.txt"));
    click(app, ControlId::EditPatternsFile);
    QCOMPARE(app.shell.editedFiles, std::vector<std::string>{"my patterns.txt"});

    std::filesystem::remove(app.folder() / "my patterns.txt");
    click(app, ControlId::EditPatternsFile);
    QCOMPARE(app.dialogs.shown.back().text, std::string("Patterns file not found."));
    QCOMPARE(app.shell.editedFiles.size(), std::size_t{1});
}

void SettingsAndHandlersTest::helpBoxesShowTheirTexts() {
    Application app(2, "[Settings]\r\npool_url=http://127.0.0.1:8080\r\n");
    app.frame->command(CommandId::HelpVanitygenCpu)->trigger();
    app.frame->command(CommandId::HelpVanitygenGpu)->trigger();
    app.frame->command(CommandId::HelpVanityminerPool)->trigger();
    QCOMPARE(app.dialogs.shown.size(), std::size_t{3});
    QCOMPARE(app.dialogs.shown[0].caption, std::string("Vanitygen CPU"));
    QVERIFY(app.dialogs.shown[0].text.starts_with("What is Vanitygen CPU ?\n\nApplication to "));
    QCOMPARE(app.dialogs.shown[1].caption, std::string("Vanitygen (OpenCL GPU)"));
    QVERIFY(app.dialogs.shown[1].text.find(
                "In this case it has OpenCL platforms 0:0 and 0:1\n\n") != std::string::npos);
    QCOMPARE(app.dialogs.shown[2].caption, std::string("Vanityminer pool (OpenCL GPU)"));
    // The server named is the one the miner is given.
    QVERIFY(app.dialogs.shown[2].text.find(
                "Pool:\nhttp://127.0.0.1:8080/availableWork\n\n(Internet connection required)") !=
            std::string::npos);
    // The example addresses are 34 characters and begin with the pattern the text names.
    const std::string& cpu = app.dialogs.shown[0].text;
    const auto at = cpu.find("send Bitcoin to ") + 16;
    QCOMPARE(cpu.substr(at + 34, 2), std::string("\n\n"));
    QVERIFY(cpu.substr(at, 6) == "1Jenny");
}

void SettingsAndHandlersTest::closeStopsTheRunAndSavesTheOptions() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "forever\n");
    auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1Abc"));
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    std::filesystem::remove(app.folder() / "Settings.ini");
    app.frame->close();
    QVERIFY(holds(settingsOf(app), "patterns=1Abc"));
}

void SettingsAndHandlersTest::overheatingPausesCountsDownAndResumes() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "status forever 300\n");
    app.frame->command(CommandId::AvoidOverheating)->trigger();
    auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1Abc"));
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    auto* elapsed = controlOf<QLineEdit>(*app.view, ControlId::ElapsedTime);

    app.clock.skipped += 1800s;
    QTRY_VERIFY_WITH_TIMEOUT(app.view->console().toPlainText().endsWith(QStringLiteral(
                                 "[PAUSE] Search paused for avoid CPU or GPU overheating.\nThe "
                                 "search will resume shortly.\n")),
                             5000);
    // Stop stays offered during the pause, Start does not.
    QVERIFY(!app.view->control(ControlId::StopSearch)->isHidden());
    QVERIFY(app.view->control(ControlId::StartSearch)->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(elapsed->text().endsWith(QStringLiteral(" seconds")), 3000);
    const int remaining = elapsed->text().split(QLatin1Char(' ')).first().toInt();
    QVERIFY2(remaining <= 600 && remaining >= 595, qPrintable(elapsed->text()));

    // Turning the option off during the pause does not cancel the resume.
    app.frame->command(CommandId::AvoidOverheating)->trigger();
    app.clock.skipped += 600s;
    QTRY_VERIFY_WITH_TIMEOUT(
        app.view->console().toPlainText().contains(QStringLiteral("\nResuming search process.\n")),
        5000);
    QVERIFY(app.view->console().toPlainText().startsWith(
        QStringLiteral("************\nSearch started")));
    QTRY_VERIFY_WITH_TIMEOUT(elapsed->text().startsWith(QStringLiteral("00h:40m:")), 5000);
    QTest::mouseClick(app.view->control(ControlId::StopSearch), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        app.view->console().toPlainText().endsWith(QStringLiteral("Search canceled by user\n")),
        5000);
}

void SettingsAndHandlersTest::stopDuringThePauseEndsIt() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "status forever 300\n");
    app.frame->command(CommandId::AvoidOverheating)->trigger();
    auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1Abc"));
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    app.clock.skipped += 1800s;
    QTRY_VERIFY_WITH_TIMEOUT(app.view->console().toPlainText().contains(QStringLiteral("[PAUSE]")),
                             5000);
    QTest::mouseClick(app.view->control(ControlId::StopSearch), Qt::LeftButton);
    QVERIFY(!app.view->control(ControlId::StartSearch)->isHidden());
    QVERIFY(app.view->control(ControlId::StartSearch)->isEnabled());
    const QString console = app.view->console().toPlainText();
    app.clock.skipped += 700s;
    QTest::qWait(2500);
    QCOMPARE(app.view->console().toPlainText(), console);
    QVERIFY(!std::filesystem::exists(app.folder() / "stdout.log") ||
            !app.view->console().toPlainText().contains(QStringLiteral("Resuming")));
}

QTEST_MAIN(SettingsAndHandlersTest)
#include "SettingsAndHandlersTest.moc"
