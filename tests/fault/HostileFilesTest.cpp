// What a killed, buggy or hostile generator (or another account) leaves behind: cut records, huge
// or binary files, a folder or FIFO (whose open waits for a writer) where the program expects its
// files, addresses built to escape Data/ or the explorer URL, links planted where keys go.
#include "FaultSupport.h"

#include <QMenu>
#include <QTableView>
#include <QUrl>
#include <csignal>
#include <fstream>
#include <sys/stat.h>

using namespace tarwick;
using namespace fault;
using testing::kAb1;
using namespace std::string_literals;

class HostileFilesTest : public QObject {
    Q_OBJECT
private slots:
    void brokenRunFilesLoseNoKeyAndBlockNothing();
    void hostileAddressesStayInsideDataAndTheUrl();
    void filesHoldingKeysAreUserOnlyAndNeverALink();
};

namespace {

// Opens the found list's menu over the row and chooses its commands in turn.
void chooseOnRow(Window& app, int row, std::initializer_list<int> commandIds) {
    test::controlOf<QTableView>(*app.view, ControlId::FoundList)->selectRow(row);
    app.view->OnContextMenu({});
    const std::unique_ptr<QMenu> menu(app.view->findChild<QMenu*>(QStringLiteral("foundListMenu")));
    for (const int id : commandIds) {
        for (QAction* action : menu->actions()) {
            if (action->property("controlId").toInt() == id) {
                action->trigger();
            }
        }
    }
}

void appendBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

} // namespace

void HostileFilesTest::brokenRunFilesLoseNoKeyAndBlockNothing() {
    Window app;
    app.startSearch("forever\n");
    const pid_t generator = app.startedGenerator();
    QVERIFY(generator > 0);
    // Records on both sides of a line of 8 MB.
    const auto results = app.folder() / "results.txt";
    appendBytes(results, kAb1.record("\n") + testing::kAb2.record("\n") +
                             std::string(8u << 20, 'x') + "\n" + testing::kAb3.record("\n"));
    QTRY_COMPARE_WITH_TIMEOUT(app.foundRows(), 3, 5000);

    // 600 MB of holes, then binary garbage (a program file): only the tail is read, as it is.
    const auto log = app.folder() / "stdout.log";
    std::filesystem::resize_file(log, 600ull << 20);
    appendBytes(log, test::fileText(app.folder() / "vanitygen" / "vanitygen64.exe") +
                         std::string("[\xff\xfe\x01 key/s][\x00\x1b[31m]", 19));
    QTRY_VERIFY_WITH_TIMEOUT(app.progressText().contains(QStringLiteral("key/s")), 5000);

    // Killed in the middle of a record: the whole ones are kept and saved, the cut one is none.
    appendBytes(results, "Pattern: 1Ab\nAddress: 1AbCutOff");
    ::kill(generator, SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(!app.runActive(), 5000);
    QCOMPARE(app.foundRows(), 3);
    const std::string saved = test::savedSettings(app);
    for (const auto& key : {kAb1, testing::kAb2, testing::kAb3}) {
        QVERIFY2(saved.find(key.key) != std::string::npos, key.address.data());
    }
    QVERIFY(saved.find("CutOff") == std::string::npos);

    // A full folder at results.txt survives the start's delete: no key could go there, so no start.
    std::filesystem::remove(results);
    std::filesystem::create_directories(results / "inside");
    app.pressStart();
    QTRY_VERIFY_WITH_TIMEOUT(!app.runActive(), 8000);
    QVERIFY2(app.consoleHas("[ERROR] results.txt could not be created"),
             qPrintable(app.consoleText()));

    std::filesystem::remove_all(results);
    app.pressStart();
    QVERIFY(app.startedGenerator() > 0);
    for (const char* name : {"results.txt", "stdout.log", "Settings.ini"}) {
        std::filesystem::remove(app.folder() / name);
        QCOMPARE(::mkfifo((app.folder() / name).c_str(), 0600), 0);
    }
    QTest::qWait(1500); // passes that must not open them
    app.stopSearch();
    QCOMPARE(app.foundRows(), 3);
    // Settings.ini as a FIFO: read as nothing, said so, and never replaced.
    app.view->preferences().load(app.view->foundAddresses());
    app.view->preferences().saveFoundAddresses();
    QVERIFY(std::filesystem::is_fifo(app.folder() / "Settings.ini"));
    QVERIFY(app.consoleHas("'Settings.ini' could not be read"));
}

void HostileFilesTest::hostileAddressesStayInsideDataAndTheUrl() {
    // Found keys are checked before they are stored: only a hand-edited Settings.ini gets here.
    // The last address is longer than a file name may be.
    std::vector<std::array<std::string, 3>> records;
    for (const std::string& address :
         {"../../escape"s, "a/b"s, "..\\..\\y"s, "1A\x01\x1b[2J"s, "C:evil"s, "1A b?x=1#y&z%/.."s,
          ".."s, "1A\0/../z"s, std::string(300, 'L')}) {
        records.push_back({"1A", address, "5KHostile"});
    }
    Window app(2, test::settingsWithAddresses(records));
    std::filesystem::create_directory(app.folder() / "Data");
    QCOMPARE(app.foundRows(), static_cast<int>(records.size()));
    const std::string explorer = "https://www.blockchain.com/btc/address/";
    for (int row = 0; row < app.foundRows(); ++row) {
        const std::string address = app.view->foundAddresses()[std::size_t(row)].publicAddress;
        chooseOnRow(app, row, {504, 500});
        // The address is one percent-encoded path segment of the explorer page.
        const std::string url = app.shell.openedUrls.back();
        const QByteArray segment = QByteArray::fromStdString(url.substr(explorer.size()));
        QVERIFY2(url.starts_with(explorer) &&
                     url.find_first_of("/?#", explorer.size()) == url.npos &&
                     QUrl::fromPercentEncoding(segment).toLocal8Bit().toStdString() == address,
                 url.c_str());
    }
    // Every export but that of ".." (as "Tarwick_...txt", inside Data/) is refused.
    QCOMPARE(app.consoleText().count(QStringLiteral("[ERROR]")), qsizetype(records.size()) - 1);
    // Nothing else was written anywhere: Settings.ini, Data/ and Data/Tarwick_...txt alone.
    QCOMPARE(std::distance(std::filesystem::recursive_directory_iterator(app.folder()), {}), 3);
    // Deleted twice from one menu: that address goes alone, and its menu then does nothing.
    chooseOnRow(app, 0, {505, 505, 500});
    QCOMPARE(app.foundRows() + 1, static_cast<int>(app.shell.openedUrls.size()));
}

void HostileFilesTest::filesHoldingKeysAreUserOnlyAndNeverALink() {
    Window app;
    const auto victim = app.folder() / "victim";
    std::ofstream(victim) << "the user's other file\n";
    std::filesystem::create_directory(app.folder() / "Data");
    testing::installTestGenerators(app.folder());
    const std::string patterns = "vanitygen/patterns.txt";
    std::vector<std::string> names{"results.txt", "stdout.log", "Settings.ini", patterns,
                                   "Data/Tarwick_Bitcoin_addresses_found.txt"};
    names.push_back("Data/Tarwick_" + std::string(kAb1.address) + ".txt");
    for (const std::string& name : names) {
        std::filesystem::remove(app.folder() / name);
        std::filesystem::create_symlink(victim, app.folder() / name);
    }
    // The generator prints each key it finds, as Vanitygen does, so its log holds keys too.
    app.startSearch(kAb1.foundLine() + "forever\n");
    QTRY_COMPARE_WITH_TIMEOUT(app.foundRows(), 1, 5000);
    chooseOnRow(app, 0, {504});
    app.frame->command(CommandId::ExportAll)->trigger();
    app.stopSearch();
    test::finishSaves(app);

    QCOMPARE(test::fileText(victim), std::string("the user's other file\n"));
    for (const std::string& name : names) {
        const auto file = app.folder() / name;
        QVERIFY2(!std::filesystem::is_symlink(file) &&
                     (name == patterns || (fileHolds(file, kAb1.key) && isUserOnly(file))),
                 name.c_str());
    }
}

QTEST_MAIN(HostileFilesTest)
#include "HostileFilesTest.moc"
