// The user in a hurry: closing the window in the middle of a run, of the platform listing and
// of an overheating pause; Start and Stop pressed rapidly; the listing asked for during a run;
// a patterns file whose name is built to be split or taken for an option.
#include "FaultGuiSupport.h"
#include "FaultProcesses.h"
#include "TestGenerators.h"
#include "ValidKeys.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <random>

using namespace tarwick;
using namespace std::chrono_literals;
using test::Application;

namespace {

void install(Application& app, std::string_view script) {
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), script);
}

bool noGeneratorLeft(const Application& app) {
    return fault::generatorsRunningIn(app.folder()).empty();
}

} // namespace

class RunControlFaultTest : public QObject {
    Q_OBJECT
private slots:
    void closingMidRunKeepsTheKeyAndEndsTheGenerator();
    void closingMidListingEndsTheGenerator();
    void closingMidPauseNeverResumes();
    void startAndStopPressedRapidly();
    void listingDuringARunIsRefused();
    void oddPatternsFileNameReachesTheGeneratorAsOneArgument();
};

void RunControlFaultTest::closingMidRunKeepsTheKeyAndEndsTheGenerator() {
    Application app;
    install(app, testing::kAb1.foundLine() + "forever\n");
    fault::typePatterns(app, QStringLiteral("1Ab"));
    fault::pressStart(app);
    const pid_t generator = fault::startedGenerator(app);
    QVERIFY(generator > 0);
    QTRY_COMPARE_WITH_TIMEOUT(fault::foundRows(app), 1, 5000);
    app.frame->close();
    QVERIFY(fault::waitUntilGone(generator, 5s));
    QVERIFY(test::savedSettings(app)
                .find("=" + std::string(testing::kAb1.key) + "\r\n") != std::string::npos);
}

void RunControlFaultTest::closingMidListingEndsTheGenerator() {
    Application app;
    install(app, "listing\nforever\n");
    app.frame->command(CommandId::ListPlatforms)->trigger();
    const pid_t generator = fault::startedGenerator(app);
    QVERIFY(generator > 0);
    QTest::qWait(300);
    app.frame->close();
    QVERIFY(fault::waitUntilGone(generator, 5s));
    QVERIFY(std::filesystem::exists(app.folder() / "Settings.ini"));
}

void RunControlFaultTest::closingMidPauseNeverResumes() {
    Application app;
    install(app, "status forever 200\n");
    app.frame->command(CommandId::AvoidOverheating)->trigger();
    fault::typePatterns(app, QStringLiteral("1Ab"));
    fault::pressStart(app);
    const pid_t generator = fault::startedGenerator(app);
    QVERIFY(generator > 0);
    app.clock.skipped += std::chrono::seconds(1801);
    // The next pass pauses: the generator goes and the countdown starts.
    QTRY_VERIFY_WITH_TIMEOUT(!fault::processAlive(generator), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(
        fault::consoleText(app).contains(QStringLiteral("overheating"), Qt::CaseInsensitive), 3000);
    std::filesystem::remove(app.folder() / "generator-pid.txt");
    app.frame->close();
    // Even past the end of the pause, nothing starts again.
    app.clock.skipped += std::chrono::seconds(700);
    QTest::qWait(2500);
    QVERIFY(!std::filesystem::exists(app.folder() / "generator-pid.txt"));
    QVERIFY(noGeneratorLeft(app));
}

void RunControlFaultTest::startAndStopPressedRapidly() {
    Application app;
    install(app, "status forever 100\n");
    fault::typePatterns(app, QStringLiteral("1Ab"));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pauseMs(0, 60);
    auto* start = test::controlOf<QPushButton>(*app.view, ControlId::StartSearch);
    auto* stop = test::controlOf<QPushButton>(*app.view, ControlId::StopSearch);
    for (int i = 0; i < 40; ++i) {
        // Whichever of the two buttons is shown is pressed, as fast as a user could.
        QTest::mouseClick(start->isVisible() ? start : stop, Qt::LeftButton);
        QTest::qWait(pauseMs(random));
    }
    if (fault::runActive(app))
        fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(start->isVisible() && start->isEnabled(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(noGeneratorLeft(app), 5000);
    QVERIFY(stop->isHidden());
    QVERIFY(app.frame->command(CommandId::ListPlatforms)->isEnabled());
    // And the program still runs a search normally.
    fault::pressStart(app);
    QVERIFY(fault::startedGenerator(app) > 0);
    QTRY_VERIFY_WITH_TIMEOUT(test::controlOf<QLineEdit>(*app.view, ControlId::Progress)
                                 ->text()
                                 .contains(QStringLiteral("key/s")),
                             5000);
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(
        fault::consoleText(app).endsWith(QStringLiteral("Search canceled by user\n")), 5000);
}

void RunControlFaultTest::listingDuringARunIsRefused() {
    Application app;
    install(app, "status forever 200\n");
    fault::typePatterns(app, QStringLiteral("1Ab"));
    fault::pressStart(app);
    const pid_t generator = fault::startedGenerator(app);
    QVERIFY(generator > 0);
    const std::string arguments = test::fileText(app.folder() / "generator-args.txt");
    QAction* listing = app.frame->command(CommandId::ListPlatforms);
    QVERIFY(!listing->isEnabled());
    listing->trigger();
    app.view->OnListPlatforms(); // even when asked for directly
    QTest::qWait(300);
    QCOMPARE(test::fileText(app.folder() / "generator-args.txt"), arguments);
    QVERIFY(fault::processAlive(generator));
    QVERIFY(fault::runActive(app));
    QVERIFY(!fault::consoleText(app).contains(QStringLiteral("Available OpenCL")));
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 5000);
}

void RunControlFaultTest::oddPatternsFileNameReachesTheGeneratorAsOneArgument() {
    Application app;
    install(app, "exit 0\n");
    const std::string name = "-f \"quoted\" 'single' $HOME; spaced \xc3\xa4\xe2\x82\xac.txt";
    std::ofstream(app.folder() / name, std::ios::binary) << "1Abc\n";
    app.dialogs.fileChoices.push_back(name);
    auto* fromFile = app.view->control(ControlId::PatternsFromFile);
    QTest::mouseClick(fromFile, Qt::LeftButton, {}, QPoint(5, fromFile->height() / 2));
    QTest::mouseClick(app.view->control(ControlId::SelectFile), Qt::LeftButton);
    fault::pressStart(app);
    QVERIFY(fault::startedGenerator(app) > 0);
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 5000);
    const std::string arguments = test::fileText(app.folder() / "generator-args.txt");
    const std::string expected = "\n-t\n1\n-o\nresults.txt\n-f\n" + name + "\n";
    QVERIFY2(arguments.ends_with(expected), arguments.c_str());
}

QTEST_MAIN(RunControlFaultTest)
#include "RunControlFaultTest.moc"
