// What a generator leaves behind when it is killed, buggy or hostile: cut records, a huge or
// binary log, a results "file" that is a folder or a FIFO, names built to escape Data/, and
// lines or files of many megabytes. The window must go on, lose nothing and never hang.
#include "FaultGuiSupport.h"
#include "FaultProcesses.h"
#include "TestGenerators.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <csignal>
#include <fstream>
#include <sys/stat.h>

using namespace tarwick;
using namespace std::chrono_literals;
using fault::consoleText;
using fault::foundRows;
using test::Application;

class BrokenFilesTest : public QObject {
    Q_OBJECT
private slots:
    void partialLastRecordIsTakenOnceWhole();
    void generatorKilledInTheMiddleOfARecord();
    void hugeSparseLogKeepsPassesShort();
    void binaryGarbageInTheLog();
    void resultsFileThatIsAFolder();
    void resultsFileThatIsAFifo();
    void hugeLineAndHugeResultsDoNotFreezeTheWindow();
};

namespace {

void startSearch(Application& app, std::string_view script) {
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), script);
    fault::typePatterns(app, QStringLiteral("1Ab"));
    fault::pressStart(app);
}

std::string record(const std::string& id) {
    return "Pattern: 1Ab\nAddress: 1Ab" + id + "\nPrivkey: 5K" + id + "\n";
}

} // namespace

void BrokenFilesTest::partialLastRecordIsTakenOnceWhole() {
    Application app;
    startSearch(app, "forever\n");
    QVERIFY(fault::startedGenerator(app) > 0);
    const auto results = app.folder() / "results.txt";
    fault::appendBytes(results, record("Whole") + "Pattern: 1Ab\nAddress: 1AbHalf\nPrivkey: 5KHa");
    QTRY_COMPARE_WITH_TIMEOUT(foundRows(app), 1, 5000);
    QTest::qWait(1500); // more passes: the cut key must not be taken while the file grows
    QCOMPARE(foundRows(app), 1);
    fault::appendBytes(results, "lf\n");
    QTRY_COMPARE_WITH_TIMEOUT(foundRows(app), 2, 5000);
    QCOMPARE(app.view->foundAddresses()[1].privateKey, std::string("5KHalf"));
    QVERIFY(test::savedSettings(app).find("BTC_KEY_PRIV_ENCON_1=5KHalf\r\n") != std::string::npos);
    fault::pressStop(app);
}

void BrokenFilesTest::generatorKilledInTheMiddleOfARecord() {
    Application app;
    startSearch(app, "forever\n");
    const pid_t generator = fault::startedGenerator(app);
    QVERIFY(generator > 0);
    fault::appendBytes(app.folder() / "results.txt",
                       record("Before") + "Pattern: 1Ab\nAddress: 1AbCutOff");
    ::kill(generator, SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 5000);
    // The whole record is kept and saved; the one without its key line is no record.
    QCOMPARE(foundRows(app), 1);
    QCOMPARE(app.view->foundAddresses()[0].publicAddress, std::string("1AbBefore"));
    const std::string settings = test::savedSettings(app);
    QVERIFY(settings.find("BTC_KEY_PRIV_ENCON_0=5KBefore\r\n") != std::string::npos);
    QVERIFY(settings.find("CutOff") == std::string::npos);
    QVERIFY(test::controlOf<QWidget>(*app.view, ControlId::StartSearch)->isEnabled());
}

void BrokenFilesTest::hugeSparseLogKeepsPassesShort() {
    Application app;
    startSearch(app, "forever\n");
    QVERIFY(fault::startedGenerator(app) > 0);
    const auto log = app.folder() / "stdout.log";
    // 600 MB of holes, then a status line: only the tail may be read, each pass.
    std::filesystem::resize_file(log, 600ull << 20);
    fault::appendBytes(log, "\r[123.45 Kkey/s][total 999][Prob 0.1%][50% in 3y]   ");
    const auto stall = fault::longestStall(2500ms);
    QVERIFY2(stall < 400ms, qPrintable(QString::number(stall.count())));
    QTRY_VERIFY_WITH_TIMEOUT(test::controlOf<QLineEdit>(*app.view, ControlId::Progress)
                                 ->text()
                                 .startsWith(QStringLiteral("[123.45 Kkey/s]")),
                             3000);
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(consoleText(app).endsWith(QStringLiteral("Search canceled by user\n")),
                             5000);
}

void BrokenFilesTest::binaryGarbageInTheLog() {
    Application app;
    startSearch(app, "forever\n");
    QVERIFY(fault::startedGenerator(app) > 0);
    std::string garbage;
    for (int i = 0; i < 200000; ++i)
        garbage.push_back(static_cast<char>((i * 7919 + i / 13) & 0xFF));
    garbage += "[\xff\xfe\x01 key/s][\x00\x1b[31m]";
    fault::appendBytes(app.folder() / "stdout.log", garbage);
    QTRY_VERIFY_WITH_TIMEOUT(test::controlOf<QLineEdit>(*app.view, ControlId::Progress)
                                 ->text()
                                 .contains(QStringLiteral("key/s")),
                             3000);
    QVERIFY(fault::runActive(app));
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 5000);
}

void BrokenFilesTest::resultsFileThatIsAFolder() {
    Application app(2, test::settingsWithAddresses({{"1A", "1AKept", "5KKept"}}));
    // A folder with something in it survives the run's delete of results.txt.
    std::filesystem::create_directories(app.folder() / "results.txt" / "inside");
    startSearch(app, "found 1Ab 1AbLost 5KLost\nstatus 6 300\n");
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 8000);
    QCOMPARE(foundRows(app), 1);
    QVERIFY(consoleText(app).endsWith(QStringLiteral("Search completed\n")));
    QVERIFY(test::savedSettings(app).find("5KKept") != std::string::npos);
}

void BrokenFilesTest::resultsFileThatIsAFifo() {
    Application app(2, test::settingsWithAddresses({{"1A", "1AKept", "5KKept"}}));
    startSearch(app, "forever\n");
    QVERIFY(fault::startedGenerator(app) > 0);
    // Opening a FIFO for reading waits for a writer: it must never be opened.
    const auto results = app.folder() / "results.txt";
    std::filesystem::remove(results);
    QCOMPARE(::mkfifo(results.c_str(), 0600), 0);
    std::filesystem::remove(app.folder() / "stdout.log");
    QCOMPARE(::mkfifo((app.folder() / "stdout.log").c_str(), 0600), 0);
    const auto stall = fault::longestStall(2500ms);
    QVERIFY2(stall < 400ms, qPrintable(QString::number(stall.count())));
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 5000);
    QCOMPARE(foundRows(app), 1);
    // Settings.ini as a FIFO: the program starts, reads nothing and never overwrites it.
    std::filesystem::remove(app.folder() / "Settings.ini");
    QCOMPARE(::mkfifo((app.folder() / "Settings.ini").c_str(), 0600), 0);
    app.view->preferences().load(app.view->foundAddresses());
    app.view->preferences().saveFoundAddresses();
    QVERIFY(std::filesystem::is_fifo(app.folder() / "Settings.ini"));
    QVERIFY(consoleText(app).contains(QStringLiteral("'Settings.ini' could not be read")));
}

void BrokenFilesTest::hugeLineAndHugeResultsDoNotFreezeTheWindow() {
    Application app;
    startSearch(app, "forever\n");
    QVERIFY(fault::startedGenerator(app) > 0);
    const auto results = app.folder() / "results.txt";
    {
        std::ofstream out(results, std::ios::binary | std::ios::app);
        out << std::string(8u << 20, 'x') << "\n"; // one line of 8 MB
        const std::string noise(1000, 'n');
        // 8 MB of lines without records. The whole file is read on every pass, so the stall
        // grows with it: about half a second per pass at 50 MB on a busy machine.
        for (int i = 0; i < 8000; ++i)
            out << noise << "\n";
        out << record("AfterTheNoise");
    }
    QTRY_COMPARE_WITH_TIMEOUT(foundRows(app), 1, 5000);
    const auto stall = fault::longestStall(3000ms);
    QVERIFY2(stall < 500ms, qPrintable(QString::number(stall.count())));
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 5000);
}

QTEST_MAIN(BrokenFilesTest)
#include "BrokenFilesTest.moc"
