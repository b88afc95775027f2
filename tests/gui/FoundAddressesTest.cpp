#include "GuiTestSupport.h"
#include "TestGenerators.h"
#include "ValidKeys.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"
#include "view/SearchRunner.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <fstream>

using namespace tarwick;
using tarwick::test::Application;
using tarwick::test::controlOf;
using tarwick::test::fileText;
using tarwick::test::savedSettings;
using tarwick::test::settingsWithAddresses;

namespace {

const std::vector<std::array<std::string, 3>> fiveStored{
    {"1A", "1AddressOne1111111111111111111111", "5KeyOne"},
    {"1B", "1BddressTwo2222222222222222222222", "5KeyTwo"},
    {"1C", "1CddressThree333333333333333333333", "5KeyThree"},
    {"1D", "1DddressFour444444444444444444444", "5KeyFour"},
    {"1E", "1EddressFive555555555555555555555", "5KeyFive"}};

QTableView& listOf(const Application& app) {
    return *controlOf<QTableView>(*app.view, ControlId::FoundList);
}

QStringList row(const Application& app, int r) {
    QStringList cells;
    const QAbstractItemModel& model = *listOf(app).model();
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.index(r, c).data().toString();
    return cells;
}

int selectedRow(const Application& app) {
    const QModelIndexList rows = listOf(app).selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}

// Selects a row with the mouse and opens the list's menu over it, as a right-click does.
QMenu* openMenuOnRow(Application& app, int r) {
    // A menu closed before is gone once its deferred deletion ran.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTableView& list = listOf(app);
    const QPoint centre = list.visualRect(list.model()->index(r, 1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
    emit list.customContextMenuRequested(centre);
    return app.view->findChild<QMenu*>(QStringLiteral("foundListMenu"));
}

void choose(QMenu* menu, int commandId) {
    for (QAction* action : menu->actions())
        if (action->property("controlId").toInt() == commandId) {
            action->trigger();
            menu->close();
            return;
        }
    QFAIL("menu item missing");
}

} // namespace

class FoundAddressesTest : public QObject {
    Q_OBJECT
private slots:
    void keysFoundDuringARunAreReportedListedAndSaved();
    void storedAddressIsNotReportedAgain();
    void menuCommandsActOnTheChosenRow();
    void exportsWriteTheirFilesOnlyIntoData();
    void deleteAndDeleteAll();
    void deletionsSpareKeysFoundMeanwhile();
    void menuOpensOnlyOverASelectedRow();
    void keysLeftInResultsAreTakenBeforeANewRunDeletesThem();
};

void FoundAddressesTest::keysFoundDuringARunAreReportedListedAndSaved() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    using testing::kAb1, testing::kCd, testing::kEf;
    testing::WriteGeneratorScript(app.folder(), kAb1.foundLine() + kCd.foundLine() +
                                                    "status 2 600\n" + kEf.foundLine() +
                                                    "status 3 600\n");
    auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setPlainText(QStringLiteral("1Ab\n1Cd\n1Ef"));
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        app.view->console().toPlainText().contains(QStringLiteral("Search completed")), 15000);

    const auto q = [](std::string_view text) { return QString::fromLatin1(text); };
    QCOMPARE(listOf(app).model()->rowCount(), 3);
    QCOMPARE(row(app, 0),
             (QStringList{QStringLiteral("new"), q(kAb1.pattern), q(kAb1.address), q(kAb1.key)}));
    QCOMPARE(row(app, 2)[0], QStringLiteral("new"));
    QCOMPARE(selectedRow(app), 2);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&listOf(app)));
    // Each address is announced once, however many passes read the file.
    const QString console = app.view->console().toPlainText();
    QCOMPARE(console.count(QStringLiteral("***** FOUND Bitcoin address *****")), 3);
    QVERIFY(console.contains(QStringLiteral("***** FOUND Bitcoin address *****\nPattern: 1Cd\nBTC "
                                            "address: ") +
                             q(kCd.address) + QStringLiteral("\nPrivate key: ") + q(kCd.key) +
                             QStringLiteral("\n-----------------------------------------\n")));
    QVERIFY(app.frame->command(CommandId::ExportAll)->isEnabled());

    const std::string settings = savedSettings(app);
    QVERIFY(settings.find("BTC_ADDR_PUB_ENCON_2=" + std::string(kEf.address) + "\r\n") !=
            std::string::npos);
    QVERIFY(settings.find("BTC_KEY_PRIV_ENCON_0=" + std::string(kAb1.key) + "\r\n") !=
            std::string::npos);
}

void FoundAddressesTest::storedAddressIsNotReportedAgain() {
    Application app(2, settingsWithAddresses({fiveStored[0]}));
    QCOMPARE(row(app, 0)[0], QStringLiteral(" "));
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(),
                                  "found 1A " + fiveStored[0][1] + " 5KOtherKey\nstatus 3 600\n");
    auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1A"));
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        app.view->console().toPlainText().contains(QStringLiteral("Search completed")), 15000);
    QVERIFY(!app.view->console().toPlainText().contains(QStringLiteral("FOUND")));
    QCOMPARE(listOf(app).model()->rowCount(), 1);
    QCOMPARE(row(app, 0),
             (QStringList{QStringLiteral(" "), QStringLiteral("1A"),
                          QString::fromStdString(fiveStored[0][1]), QStringLiteral("5KeyOne")}));
}

void FoundAddressesTest::menuCommandsActOnTheChosenRow() {
    Application app(2, settingsWithAddresses(fiveStored));
    QClipboard& clipboard = *QApplication::clipboard();
    struct Case {
        int commandId;
        QString clipboard;
    };
    const Case cases[] = {
        {501, QStringLiteral("1BddressTwo2222222222222222222222")},
        {502, QStringLiteral("5KeyTwo")},
        {503, QStringLiteral("Pattern: 1B\r\nBitcoin Public address: "
                             "1BddressTwo2222222222222222222222\r\nBitcoin Private key: 5KeyTwo")}};
    for (const Case& c : cases) {
        clipboard.setText(QStringLiteral("before"));
        QMenu* menu = openMenuOnRow(app, 1);
        QVERIFY(menu);
        QCOMPARE(app.view->selectedIndex, 1);
        choose(menu, c.commandId);
        QCOMPARE(clipboard.text(), c.clipboard);
    }
    choose(openMenuOnRow(app, 1), 500);
    QCOMPARE(app.shell.openedUrls,
             std::vector<std::string>{
                 "https://www.blockchain.com/btc/address/1BddressTwo2222222222222222222222"});

    QMenu* menu = openMenuOnRow(app, 1);
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QVERIFY(action->isSeparator() || !action->icon().isNull());
    }
    QCOMPARE(texts,
             (QStringList{QStringLiteral("Bitcoin address info"), QStringLiteral("-"),
                          QStringLiteral("Copy Public address"), QStringLiteral("Copy Private key"),
                          QStringLiteral("Copy Public + Private"), QStringLiteral("-"),
                          QStringLiteral("Export Public + Private to a file"), QStringLiteral("-"),
                          QStringLiteral("Delete"), QStringLiteral("Delete all")}));
    menu->close();
}

void FoundAddressesTest::exportsWriteTheirFilesOnlyIntoData() {
    Application app(2, settingsWithAddresses({fiveStored[0], {"1,x", "1Comma", "5K,y"}}));
    const QString consoleBefore = app.view->console().toPlainText();
    choose(openMenuOnRow(app, 0), 504);
    app.frame->command(CommandId::ExportAll)->trigger();
    QCOMPARE(app.view->console().toPlainText(), consoleBefore);
    QVERIFY(std::filesystem::is_empty(app.folder()) ||
            !std::filesystem::exists(app.folder() / "Data"));

    std::filesystem::create_directory(app.folder() / "Data");
    choose(openMenuOnRow(app, 0), 504);
    const auto single = app.folder() / "Data" / ("Tarwick_" + fiveStored[0][1] + ".txt");
    QCOMPARE(
        QString::fromStdString(fileText(single)),
        QStringLiteral("Pattern: 1A\r\nBitcoin Public address: "
                       "1AddressOne1111111111111111111111\r\nBitcoin Private key: 5KeyOne\r\n"));
    QCOMPARE(std::filesystem::status(single).permissions() & std::filesystem::perms::all,
             std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    QVERIFY(app.view->console().toPlainText().endsWith(
        QStringLiteral("Bitcoin address '1AddressOne1111111111111111111111' saved in\n'Data//"
                       "Tarwick_1AddressOne1111111111111111111111.txt' file\n\n")));

    app.frame->command(CommandId::ExportAll)->trigger();
    QCOMPARE(QString::fromStdString(
                 fileText(app.folder() / "Data" / "Tarwick_Bitcoin_addresses_found.txt")),
             QStringLiteral("Pattern,Bitcoin Public address,Bitcoin Private key\r\n"
                            "1A,1AddressOne1111111111111111111111,5KeyOne\r\n1,x,1Comma,5K,y\r\n"));
    QVERIFY(app.view->console().toPlainText().endsWith(QStringLiteral(
        "Bitcoin addresses found saved in 'Data//Tarwick_Bitcoin_addresses_found.txt' file\n\n")));
}

void FoundAddressesTest::deleteAndDeleteAll() {
    Application app(2, settingsWithAddresses(fiveStored));
    choose(openMenuOnRow(app, 1), 505);
    QCOMPARE(listOf(app).model()->rowCount(), 4);
    QCOMPARE(row(app, 1)[1], QStringLiteral("1C"));
    QVERIFY(app.dialogs.shown.empty());
    const std::string afterDelete = savedSettings(app);
    QVERIFY(afterDelete.find("1BddressTwo") == std::string::npos);
    QVERIFY(afterDelete.find("BTC_ADDR_PUB_ENCON_3=1EddressFive") != std::string::npos);
    QVERIFY(afterDelete.find("ENCON_4") == std::string::npos);

    app.dialogs.yesNoAnswers = {false, true};
    choose(openMenuOnRow(app, 0), 506);
    QCOMPARE(app.dialogs.shown.back().text,
             std::string("Do you want to delete all Bitcoin addresses ?"));
    QCOMPARE(listOf(app).model()->rowCount(), 4);
    QCOMPARE(savedSettings(app), afterDelete);
    choose(openMenuOnRow(app, 0), 506);
    QCOMPARE(listOf(app).model()->rowCount(), 0);
    QVERIFY(savedSettings(app).find("ENCON") == std::string::npos);
    QVERIFY(!app.frame->command(CommandId::ExportAll)->isEnabled());
    QCOMPARE(app.dialogs.shown.size(), std::size_t{2});
}

void FoundAddressesTest::deletionsSpareKeysFoundMeanwhile() {
    Application app(2, settingsWithAddresses({fiveStored[0], fiveStored[1], fiveStored[2]}));
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "forever\n");
    controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox)
        ->setPlainText(QStringLiteral("1Ab"));
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    std::size_t arrived = 0;
    const auto keyArrives = [&app, &arrived] {
        std::ofstream(app.folder() / "results.txt", std::ios::binary | std::ios::app)
            << (arrived++ == 0 ? testing::kAb1 : testing::kAb2).record("\n");
        app.view->runner().run().pass(false);
    };

    QMenu* menu = openMenuOnRow(app, 1);
    keyArrives(); // while the menu is open: the new row is selected
    choose(menu, 505);
    QCOMPARE(listOf(app).model()->rowCount(), 3);
    QCOMPARE(row(app, 1)[2], QString::fromStdString(fiveStored[2][1]));

    app.dialogs.whileAsking = keyArrives;
    app.dialogs.yesNoAnswers = {true};
    choose(openMenuOnRow(app, 0), 506);
    QCOMPARE(listOf(app).model()->rowCount(), 1);
    QCOMPARE(row(app, 0)[2], QString::fromLatin1(testing::kAb2.address));
    QVERIFY(savedSettings(app).find("BTC_KEY_PRIV_ENCON_0=" + std::string(testing::kAb2.key) +
                                    "\r\n") != std::string::npos);
}

void FoundAddressesTest::menuOpensOnlyOverASelectedRow() {
    Application app(2, settingsWithAddresses(fiveStored));
    QTableView& list = listOf(app);
    QCOMPARE(selectedRow(app), -1);
    emit list.customContextMenuRequested(QPoint(5, 5));
    QVERIFY(app.view->findChild<QMenu*>(QStringLiteral("foundListMenu")) == nullptr);
    QCOMPARE(app.view->selectedIndex, -1);
}

void FoundAddressesTest::keysLeftInResultsAreTakenBeforeANewRunDeletesThem() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "status 3 600\n");
    // Keys the last session's generator wrote just before the program went down, checked
    // against that run's patterns: a good one is stored, a bad one keeps its file.
    controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox)
        ->setPlainText(QStringLiteral("1Ab"));
    const testing::ValidKey bad{"1Ab", testing::kAb3.address, testing::kAb1.key};
    for (const testing::ValidKey& key : {testing::kAb2, bad}) {
        std::ofstream(app.folder() / "results.txt", std::ios::binary) << key.record("\n");
        std::ofstream(app.folder() / "run-patterns.txt") << "case-sensitive\n1Ab\n";
        QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
        QCOMPARE(listOf(app).model()->rowCount(), 1);
        QCOMPARE(row(app, 0)[2], QString::fromLatin1(testing::kAb2.address));
        QTRY_VERIFY_WITH_TIMEOUT(
            app.view->console().toPlainText().contains(QStringLiteral("Search completed")), 15000);
    }
    QVERIFY(savedSettings(app)
                .find("BTC_KEY_PRIV_ENCON_0=" + std::string(testing::kAb2.key) + "\r\n") !=
            std::string::npos);
    const QString console = app.view->console().toPlainText();
    QVERIFY2(console.contains(QStringLiteral("results.txt holds a key that failed its check, so "
                                             "it is kept as 'results-")),
             qPrintable(console));
}

QTEST_MAIN(FoundAddressesTest)
#include "FoundAddressesTest.moc"
