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
    std::error_code error;
    return std::ranges::any_of(
        std::filesystem::directory_iterator("/proc"), [&](const auto& entry) {
            const auto exe = std::filesystem::read_symlink(entry.path() / "exe", error);
            return !error && exe.parent_path() == generators &&
                   processAlive(std::stoi(entry.path().filename()));
        });
}

} // namespace

void RunFaultTest::fullDiskKeepsTheKeyUntilItCanBeSaved() {
    Window app(2, test::settingsWithAddresses(
                      {{"1A", "1AStored", "5KStoredA"}, {"1B", "1BStored", "5KStoredB"}}));
    app.startSearch("sleep 1200\n" + testing::kAb1.foundLine() + "forever\n");
    QVERIFY(app.startedGenerator() > 0);
    const std::string before = test::savedSettings(app);
    // A file size limit on this process stands in for the full disk (root ignores permissions, and
    // mounts are not allowed everywhere): saves fail part way; the generator started before writes.
    const auto restore = qScopeGuard([] { limitFileSize(RLIM_INFINITY); });
    QVERIFY(limitFileSize(64));
    QTRY_COMPARE_WITH_TIMEOUT(app.foundRows(), 3, 5000);
    QCOMPARE(test::savedSettings(app), before);

    // A new run while the key is only in memory and in results.txt keeps that file.
    app.stopSearch();
    app.pressStart();
    QVERIFY(app.runActive() && app.consoleHas("holds a found key not yet saved"));
    QVERIFY(
        std::ranges::any_of(std::filesystem::directory_iterator(app.folder()), [&](auto& entry) {
            return entry.path().filename().string().starts_with("results-") &&
                   fileHolds(entry.path(), testing::kAb1.key);
        }));
    // One that cannot be kept (no hard links there) is never deleted: nothing starts.
    app.stopSearch();
    std::filesystem::remove(app.folder() / "results.txt");
    std::filesystem::create_directory(app.folder() / "results.txt");
    app.pressStart();
    QVERIFY(!app.runActive() && app.consoleHas("could not be renamed, so the search was not"));
}

void RunFaultTest::closingEndsTheGeneratorForGood_data() {
    QTest::addColumn<QString>("during");
    for (const char* during : {"search", "listing", "pause"}) {
        QTest::newRow(during) << QString::fromLatin1(during);
    }
}

// The generator goes with the window, and nothing starts again.
void RunFaultTest::closingEndsTheGeneratorForGood() {
    QFETCH(QString, during);
    Window app;
    if (during == QLatin1String("listing")) {
        test::installScript(app, "listing\nforever\n");
        app.frame->command(CommandId::ListPlatforms)->trigger();
    } else {
        if (during == QLatin1String("pause")) {
            app.frame->command(CommandId::AvoidOverheating)->trigger();
        }
        app.startSearch(testing::kAb1.foundLine() + "status forever 200\n");
        QTRY_COMPARE_WITH_TIMEOUT(app.foundRows(), 1, 5000);
    }
    const pid_t generator = app.startedGenerator();
    QVERIFY(generator > 0);
    if (during == QLatin1String("pause")) {
        app.clock.skipped += 1801s; // the next pass pauses: the generator goes
        QTRY_VERIFY_WITH_TIMEOUT(app.consoleHas("overheating"), 5000);
    }
    std::filesystem::remove(app.folder() / "generator-pid.txt");
    app.frame->close();
    QTRY_VERIFY_WITH_TIMEOUT(!processAlive(generator), 5000);
    app.clock.skipped += 700s; // past the end of any pause
    QTest::qWait(2500);
    QCOMPARE(generatorPid(app.folder()), 0);
    QVERIFY(!generatorRunningIn(app.folder()));
}

void RunFaultTest::startAndStopPressedRapidly() {
    Window app;
    app.startSearch("status forever 100\n");
    std::mt19937 random(7);
    for (int i = 0; i < 40; ++i) {
        // Whichever of the two buttons is shown is pressed, as fast as a user could.
        const int shown = app.runActive() ? ControlId::StopSearch : ControlId::StartSearch;
        QTest::mouseClick(app.view->control(shown), Qt::LeftButton);
        QTest::qWait(static_cast<int>(random() % 60));
    }
    if (app.runActive()) {
        app.stopSearch();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!generatorRunningIn(app.folder()), 5000);
    QVERIFY(app.frame->command(CommandId::ListPlatforms)->isEnabled());

    // The program still runs a search normally, and refuses the listing meanwhile.
    std::filesystem::remove(app.folder() / "generator-pid.txt");
    app.pressStart();
    const pid_t generator = app.startedGenerator();
    app.view->OnListPlatforms();
    QTRY_VERIFY_WITH_TIMEOUT(app.progressText().contains(QStringLiteral("key/s")), 5000);
    QVERIFY(processAlive(generator));
    app.stopSearch();
}

QTEST_MAIN(RunFaultTest)
#include "RunFaultTest.moc"
