// Faults around a run: a disk that fills up, and a user in a hurry who closes the window in the
// middle of a search, a listing or an overheating pause, or presses Start and Stop rapidly.
#include "FaultSupport.h"

#include <QScopeGuard>
#include <algorithm>
#include <csignal>
#include <random>
#include <sys/resource.h>

using namespace tarwick;
using namespace fault;
using namespace std::chrono_literals;

class RunFaultTest : public QObject {
    Q_OBJECT
private slots:
    void fullDiskKeepsTheKeyUntilItCanBeSaved();
    void closingEndsTheGeneratorForGood_data();
    void closingEndsTheGeneratorForGood();
    void startAndStopPressedRapidly();
};

namespace {

bool limitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::min(bytes, limit.rlim_max);
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// Whether a program from the folder's vanitygen/ still runs (an orphan, once the run is over).
bool generatorRunningIn(const std::filesystem::path& folder) {
    const auto generators = std::filesystem::canonical(folder / "vanitygen");
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        std::error_code error;
        const auto exe = std::filesystem::read_symlink(entry.path() / "exe", error);
        if (!error && exe.parent_path() == generators && processAlive(std::stoi(name))) {
            return true;
        }
    }
    return false;
}

} // namespace

void RunFaultTest::fullDiskKeepsTheKeyUntilItCanBeSaved() {
    test::Application app(2, test::settingsWithAddresses({{"1A", "1AStored", "5KStoredA"},
                                                          {"1B", "1BStored", "5KStoredB"}}));
    const std::string key(testing::kAb1.key);
    startSearch(app, "sleep 1200\n" + testing::kAb1.foundLine() + "forever\n");
    QVERIFY(startedGenerator(app) > 0);
    const std::string before = test::savedSettings(app);
    // A limit on the size of the files this process writes stands in for the full disk (folder
    // permissions stop nothing for root, and mounting a small file system is not allowed
    // everywhere): every save fails part way; the generator, started before, still writes.
    const auto restore = qScopeGuard([] { limitFileSize(RLIM_INFINITY); });
    QVERIFY(limitFileSize(64));
    QTRY_COMPARE_WITH_TIMEOUT(foundRows(app), 3, 5000);
    QVERIFY(consoleHas(app, "[ERROR] The settings could not be saved in 'Settings.ini'. The "
                            "Bitcoin addresses found are kept"));
    QCOMPARE(test::savedSettings(app), before);
    QVERIFY(fileHolds(app.folder() / "results.txt", key));

    // A new run while the key is only in memory and in results.txt keeps that file, user-only.
    stopSearch(app);
    pressStart(app);
    QVERIFY(runActive(app) && consoleHas(app, "holds a found key not yet saved"));
    bool kept = false;
    for (const auto& entry : std::filesystem::directory_iterator(app.folder())) {
        kept |= entry.path().filename().string().starts_with("results-") &&
                fileHolds(entry.path(), key);
    }
    QVERIFY(kept);
    stopSearch(app);
}

void RunFaultTest::closingEndsTheGeneratorForGood_data() {
    QTest::addColumn<QString>("during");
    for (const char* during : {"search", "listing", "pause"}) {
        QTest::newRow(during) << QString::fromLatin1(during);
    }
}

// The generator goes with the window, a key it found is saved, and nothing starts again.
void RunFaultTest::closingEndsTheGeneratorForGood() {
    QFETCH(QString, during);
    test::Application app;
    if (during == QLatin1String("listing")) {
        testing::installTestGenerators(app.folder());
        testing::writeGeneratorScript(app.folder(), "listing\nforever\n");
        app.frame->command(CommandId::ListPlatforms)->trigger();
    } else {
        if (during == QLatin1String("pause")) {
            app.frame->command(CommandId::AvoidOverheating)->trigger();
        }
        startSearch(app, testing::kAb1.foundLine() + "status forever 200\n");
        QTRY_COMPARE_WITH_TIMEOUT(foundRows(app), 1, 5000);
    }
    const pid_t generator = startedGenerator(app);
    QVERIFY(generator > 0);
    if (during == QLatin1String("pause")) {
        app.clock.skipped += 1801s; // the next pass pauses: the generator goes
        QTRY_VERIFY_WITH_TIMEOUT(consoleHas(app, "overheating"), 5000);
    }
    std::filesystem::remove(app.folder() / "generator-pid.txt");
    app.frame->close();
    QTRY_VERIFY_WITH_TIMEOUT(!processAlive(generator), 5000);
    app.clock.skipped += 700s; // past the end of any pause
    QTest::qWait(2500);
    QCOMPARE(generatorPid(app.folder()), 0);
    QVERIFY(!generatorRunningIn(app.folder()));
    QVERIFY(foundRows(app) == 0 || fileHolds(app.folder() / "Settings.ini", testing::kAb1.key));
}

void RunFaultTest::startAndStopPressedRapidly() {
    test::Application app;
    startSearch(app, "status forever 100\n");
    std::mt19937 random(7);
    for (int i = 0; i < 40; ++i) {
        // Whichever of the two buttons is shown is pressed, as fast as a user could.
        const int shown = runActive(app) ? ControlId::StopSearch : ControlId::StartSearch;
        QTest::mouseClick(app.view->control(shown), Qt::LeftButton);
        QTest::qWait(static_cast<int>(random() % 60));
    }
    if (runActive(app)) {
        stopSearch(app);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!generatorRunningIn(app.folder()), 5000);
    QVERIFY(app.frame->command(CommandId::ListPlatforms)->isEnabled());

    // The program still runs a search normally, and refuses the listing meanwhile.
    std::filesystem::remove(app.folder() / "generator-pid.txt");
    pressStart(app);
    const pid_t generator = startedGenerator(app);
    QVERIFY(generator > 0);
    app.view->OnListPlatforms();
    QTRY_VERIFY_WITH_TIMEOUT(progressText(app).contains(QStringLiteral("key/s")), 5000);
    QVERIFY(processAlive(generator));
    QVERIFY(!consoleHas(app, "Available OpenCL"));
    stopSearch(app);
    QVERIFY(consoleText(app).endsWith(QStringLiteral("Search canceled by user\n")));
}

QTEST_MAIN(RunFaultTest)
#include "RunFaultTest.moc"
