// Text from results.txt is untrusted: a buggy or hostile generator may write any address. The
// single-address export must never write outside Data/, and the explorer page must get the
// address percent-encoded, never as part of the URL's syntax.
#include "FaultGuiSupport.h"
#include "TestGenerators.h"
#include "ValidKeys.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <fstream>

using namespace tarwick;
using test::Application;

namespace {

const std::vector<std::string> hostileAddresses{
    "../../x",
    "../../../../../../tmp/tarwick-escape",
    "a/b",
    "..\\..\\y",
    std::string("1A\0/../z", 8),
    "1A\x01\x1b[2J",
    "C:evil",
};

QMenu* menuOnRow(Application& app, int row) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto& list = *test::controlOf<QTableView>(*app.view, ControlId::FoundList);
    list.selectRow(row);
    const QPoint centre = list.visualRect(list.model()->index(row, 1)).center();
    emit list.customContextMenuRequested(centre);
    return app.view->findChild<QMenu*>(QStringLiteral("foundListMenu"));
}

void choose(QMenu* menu, int commandId) {
    QVERIFY(menu);
    for (QAction* action : menu->actions())
        if (action->property("controlId").toInt() == commandId) {
            action->trigger();
            menu->close();
            return;
        }
    QFAIL("menu item missing");
}

// Found keys are checked before they are stored, so only a hand-edited Settings.ini brings such
// addresses into the list.
std::string settingsWith(const std::vector<std::string>& addresses) {
    std::vector<std::array<std::string, 3>> records;
    for (std::size_t i = 0; i < addresses.size(); ++i)
        records.push_back({"1A", addresses[i], "5KHostile" + std::to_string(i)});
    return test::settingsWithAddresses(records);
}
} // namespace

class AddressSafetyTest : public QObject {
    Q_OBJECT
private slots:
    void hostileAddressesNeverLeaveData();
    void explorerPageGetsTheAddressPercentEncoded();
    void filesHoldingKeysAreOwnerOnly();
    void linksPlantedForFilesHoldingKeysAreNeverFollowed();
};

void AddressSafetyTest::hostileAddressesNeverLeaveData() {
    std::vector<std::string> addresses = hostileAddresses;
    addresses.push_back(std::string(300, 'L')); // longer than a file name may be
    addresses.push_back("..");                  // harmless: "Tarwick_...txt" inside Data
    Application app(2, settingsWith(addresses));
    std::filesystem::create_directory(app.folder() / "Data");
    QCOMPARE(fault::foundRows(app), static_cast<int>(addresses.size()));

    for (int row = 0; row < fault::foundRows(app); ++row) {
        const std::string address =
            app.view->foundAddresses()[static_cast<std::size_t>(row)].publicAddress;
        const QString before = fault::consoleText(app);
        choose(menuOnRow(app, row), 504);
        const QString told = fault::consoleText(app).mid(before.size());
        const auto target =
            (app.folder() / ("Data//Tarwick_" + address + ".txt")).lexically_normal();
        const auto data = (app.folder() / "Data").lexically_normal();
        const bool insideData = target.parent_path() == data;
        if (!insideData) {
            QVERIFY2(!std::filesystem::exists(target), target.c_str());
            QVERIFY2(told.startsWith(QStringLiteral("[ERROR]")), qPrintable(told));
        }
        if (address.size() == 300)
            QVERIFY2(told.startsWith(QStringLiteral("[ERROR]")), qPrintable(told));
    }
    QVERIFY(!std::filesystem::exists("/tmp/tarwick-escape.txt"));
    // Only files the exports may write: Data/Tarwick_<address>.txt for the harmless names.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(app.folder() / "Data")) {
        const std::string name = entry.path().filename().string();
        QVERIFY2(entry.path().parent_path() == app.folder() / "Data", entry.path().c_str());
        QVERIFY2(name == "Tarwick_...txt", name.c_str());
    }
    QVERIFY(std::filesystem::exists(app.folder() / "Data" / "Tarwick_...txt"));
    for (const auto& entry : std::filesystem::directory_iterator(app.folder()))
        QVERIFY2(!entry.path().filename().string().starts_with("Tarwick_"), entry.path().c_str());
}

void AddressSafetyTest::explorerPageGetsTheAddressPercentEncoded() {
    Application app(2, settingsWith({"1A b?x=1#y&z%/..", "1Plain"}));
    QCOMPARE(fault::foundRows(app), 2);
    choose(menuOnRow(app, 0), 500);
    choose(menuOnRow(app, 1), 500);
    QCOMPARE(app.shell.openedUrls,
             (std::vector<std::string>{
                 "https://www.blockchain.com/btc/address/1A%20b%3Fx%3D1%23y%26z%25%2F..",
                 "https://www.blockchain.com/btc/address/1Plain"}));
}

void AddressSafetyTest::filesHoldingKeysAreOwnerOnly() {
    Application app;
    std::filesystem::create_directory(app.folder() / "Data");
    testing::InstallTestGenerators(app.folder());
    // The generator prints each key it finds, as Vanitygen does, so its log holds keys too.
    testing::WriteGeneratorScript(app.folder(), testing::kAb1.foundLine() + "forever\n");
    fault::typePatterns(app, QStringLiteral("1Ab"));
    fault::pressStart(app);
    QTRY_COMPARE_WITH_TIMEOUT(fault::foundRows(app), 1, 5000);
    choose(menuOnRow(app, 0), 504);
    app.frame->command(CommandId::ExportAll)->trigger();
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 5000);

    const auto ownerOnly = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    test::finishSaves(app);
    QVERIFY(test::fileText(app.folder() / "stdout.log").find(testing::kAb1.key) !=
            std::string::npos);
    for (const auto& file :
         {app.folder() / "stdout.log", app.folder() / "Settings.ini",
          app.folder() / "Data" / ("Tarwick_" + std::string(testing::kAb1.address) + ".txt"),
          app.folder() / "Data" / "Tarwick_Bitcoin_addresses_found.txt"}) {
        QVERIFY2(std::filesystem::exists(file), file.c_str());
        QVERIFY2((std::filesystem::status(file).permissions() & std::filesystem::perms::all) ==
                     ownerOnly,
                 file.c_str());
    }
}

// Another account with write access to the folder, or a generator gone wrong, may plant links
// (to ~/.bashrc, or to a file it can read) where the program writes keys.
void AddressSafetyTest::linksPlantedForFilesHoldingKeysAreNeverFollowed() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), testing::kAb1.foundLine() + "forever\n");
    const auto victim = app.folder() / "victim";
    std::ofstream(victim) << "the user's other file\n";
    const std::vector<std::string> names{"results.txt", "stdout.log", "Settings.ini",
                                         "vanitygen/patterns.txt"};
    for (const std::string& name : names) {
        std::filesystem::remove(app.folder() / name);
        std::filesystem::create_symlink(victim, app.folder() / name);
    }
    fault::typePatterns(app, QStringLiteral("1Ab"));
    fault::pressStart(app);
    QTRY_COMPARE_WITH_TIMEOUT(fault::foundRows(app), 1, 5000);
    fault::pressStop(app);
    QTRY_VERIFY_WITH_TIMEOUT(!fault::runActive(app), 5000);

    QCOMPARE(test::fileText(victim), std::string("the user's other file\n"));
    for (const std::string& name : names)
        QVERIFY2(!std::filesystem::is_symlink(app.folder() / name), name.c_str());
    for (const char* name : {"results.txt", "stdout.log", "Settings.ini"})
        QVERIFY2(test::fileText(app.folder() / name).find(testing::kAb1.key) != std::string::npos,
                 name);
}

QTEST_MAIN(AddressSafetyTest)
#include "AddressSafetyTest.moc"
