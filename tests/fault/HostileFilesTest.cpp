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

class HostileFilesTest : public QObject {
    Q_OBJECT
private slots:
    void brokenRunFilesLoseNoKeyAndBlockNothing();
    void hostileAddressesStayInsideDataAndTheUrl();
    void filesHoldingKeysAreUserOnlyAndNeverALink();
};

namespace {

void chooseOnRow(test::Application& app, int row, int commandId) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto& list = *test::controlOf<QTableView>(*app.view, ControlId::FoundList);
    list.selectRow(row);
    emit list.customContextMenuRequested(list.visualRect(list.model()->index(row, 1)).center());
    auto* menu = app.view->findChild<QMenu*>(QStringLiteral("foundListMenu"));
    QVERIFY(menu);
    for (QAction* action : menu->actions()) {
        if (action->property("controlId").toInt() == commandId) {
            action->trigger();
        }
    }
    menu->close();
}

void appendBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary | std::ios::app)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

void HostileFilesTest::brokenRunFilesLoseNoKeyAndBlockNothing() {
    test::Application app;
    startSearch(app, "forever\n");
    const pid_t generator = startedGenerator(app);
    QVERIFY(generator > 0);
    const auto results = app.folder() / "results.txt";
    const std::string second = testing::kAb2.record("\n");
    appendBytes(results, kAb1.record("\n") + second.substr(0, second.size() - 3));
    QTRY_COMPARE_WITH_TIMEOUT(foundRows(app), 1, 5000);
    QTest::qWait(1500); // more passes: the cut key must not be taken while the file grows
    QCOMPARE(foundRows(app), 1);
    appendBytes(results, second.substr(second.size() - 3));
    QTRY_COMPARE_WITH_TIMEOUT(foundRows(app), 2, 5000);
    // A line of 8 MB, then a record.
    appendBytes(results, std::string(8u << 20, 'x') + "\n");
    appendBytes(results, testing::kAb3.record("\n"));
    QTRY_COMPARE_WITH_TIMEOUT(foundRows(app), 3, 5000);

    // 600 MB of holes, then binary garbage: only the tail is read, and shown as it is.
    const auto log = app.folder() / "stdout.log";
    std::filesystem::resize_file(log, 600ull << 20);
    std::string garbage;
    for (int i = 0; i < 200000; ++i) {
        garbage.push_back(static_cast<char>((i * 7919 + i / 13) & 0xFF));
    }
    const char groups[] = "[\xff\xfe\x01 key/s][\x00\x1b[31m]";
    appendBytes(log, garbage.append(groups, sizeof groups - 1));
    QTRY_VERIFY_WITH_TIMEOUT(progressText(app).contains(QStringLiteral("key/s")), 5000);

    // Killed in the middle of a record: the whole ones are kept and saved, the cut one is none.
    appendBytes(results, "Pattern: 1Ab\nAddress: 1AbCutOff");
    ::kill(generator, SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(!runActive(app), 5000);
    QCOMPARE(foundRows(app), 3);
    const std::string saved = test::savedSettings(app);
    for (const auto& key : {kAb1, testing::kAb2, testing::kAb3}) {
        QVERIFY2(saved.find(std::string(1, '=').append(key.key).append("\r\n")) !=
                     std::string::npos,
                 key.address.data());
    }
    QVERIFY(saved.find("CutOff") == std::string::npos);
    QVERIFY(app.view->control(ControlId::StartSearch)->isEnabled());

    // A folder with something in it survives the start's delete of results.txt; the generator
    // could write no key there, so nothing starts.
    std::filesystem::remove(results);
    std::filesystem::create_directories(results / "inside");
    pressStart(app);
    QTRY_VERIFY_WITH_TIMEOUT(!runActive(app), 8000);
    QVERIFY2(consoleHas(app, "[ERROR] results.txt could not be created"),
             qPrintable(consoleText(app)));

    std::filesystem::remove_all(results);
    pressStart(app);
    QVERIFY(startedGenerator(app) > 0);
    for (const char* name : {"results.txt", "stdout.log"}) {
        std::filesystem::remove(app.folder() / name);
        QCOMPARE(::mkfifo((app.folder() / name).c_str(), 0600), 0);
    }
    QTest::qWait(1500); // passes that must not open them
    stopSearch(app);
    QCOMPARE(foundRows(app), 3);

    // Settings.ini as a FIFO: read as nothing, said so, and never replaced.
    const auto settings = app.folder() / "Settings.ini";
    std::filesystem::remove(settings);
    QCOMPARE(::mkfifo(settings.c_str(), 0600), 0);
    app.view->preferences().load(app.view->foundAddresses());
    app.view->preferences().saveFoundAddresses();
    QVERIFY(std::filesystem::is_fifo(settings));
    QVERIFY(consoleHas(app, "'Settings.ini' could not be read"));
}

void HostileFilesTest::hostileAddressesStayInsideDataAndTheUrl() {
    std::vector<std::string> addresses{
        "../../escape", "a/b", "..\\..\\y", "1A\x01\x1b[2J", "C:evil", "1A b?x=1#y&z%/..", ".."};
    addresses.push_back(std::string("1A\0/../z", 8));
    addresses.push_back(std::string(300, 'L')); // longer than a file name may be
    std::vector<std::array<std::string, 3>> records;
    for (const std::string& address : addresses) {
        records.push_back({"1A", address, "5KHostile"});
    }
    // Found keys are checked before they are stored: only a hand-edited Settings.ini gets here.
    test::Application app(2, test::settingsWithAddresses(records));
    std::filesystem::create_directory(app.folder() / "Data");
    QCOMPARE(foundRows(app), static_cast<int>(addresses.size()));
    const std::string explorer = "https://www.blockchain.com/btc/address/";
    for (int row = 0; row < foundRows(app); ++row) {
        const std::string address = app.view->foundAddresses()[std::size_t(row)].publicAddress;
        const QString before = consoleText(app);
        chooseOnRow(app, row, 504);
        chooseOnRow(app, row, 500);
        QVERIFY2(consoleText(app).mid(before.size()).startsWith(QStringLiteral("[ERROR]")) ==
                     (address != ".."),
                 address.c_str());
        // The address is one percent-encoded path segment of the explorer page.
        const std::string url = app.shell.openedUrls.back();
        const QByteArray segment = QByteArray::fromStdString(url.substr(explorer.size()));
        QVERIFY2(url.starts_with(explorer) && !segment.contains('/') && !segment.contains('?') &&
                     !segment.contains('#') &&
                     QUrl::fromPercentEncoding(segment).toLocal8Bit().toStdString() == address,
                 url.c_str());
    }
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(app.folder())) {
        if (entry.is_regular_file() && entry.path().filename() != "Settings.ini") {
            written.push_back(std::filesystem::relative(entry.path(), app.folder()));
        }
    }
    QCOMPARE(written, std::vector<std::string>{"Data/Tarwick_...txt"});
}

void HostileFilesTest::filesHoldingKeysAreUserOnlyAndNeverALink() {
    test::Application app;
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
    startSearch(app, kAb1.foundLine() + "forever\n");
    QTRY_COMPARE_WITH_TIMEOUT(foundRows(app), 1, 5000);
    chooseOnRow(app, 0, 504);
    app.frame->command(CommandId::ExportAll)->trigger();
    stopSearch(app);
    test::finishSaves(app);

    QCOMPARE(test::fileText(victim), std::string("the user's other file\n"));
    for (const std::string& name : names) {
        const auto file = app.folder() / name;
        QVERIFY2(!std::filesystem::is_symlink(file), name.c_str());
        QVERIFY2(name == patterns || fileHolds(file, kAb1.key), name.c_str());
        QVERIFY2(name == patterns ||
                     (std::filesystem::status(file).permissions() & std::filesystem::perms::all) ==
                         (std::filesystem::perms::owner_read | std::filesystem::perms::owner_write),
                 name.c_str());
    }
}

QTEST_MAIN(HostileFilesTest)
#include "HostileFilesTest.moc"
