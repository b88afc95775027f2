#include "GuiTestSupport.h"
#include "view/SearchRunner.h"

#include <QClipboard>
#include <QMenu>

using namespace tarwick;
using namespace tarwick::test;

namespace {

const std::vector<std::array<std::string, 3>> stored{{"1A", "1AddressOne", "5KeyOne"},
                                                     {"1B", "1BddressTwo", "5KeyTwo"},
                                                     {"1C", "1CddressThree", "5KeyThree"}};

// Selects a row with the mouse, opens the list's menu over it as a right-click does and
// chooses the command.
void chooseOnRow(Application& app, int row, int commandId,
                 const std::function<void()>& whileOpen = {}) {
    // A menu closed before is gone once its deferred deletion ran.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto& list = *controlOf<QTableView>(*app.view, ControlId::FoundList);
    const QPoint centre = list.visualRect(list.model()->index(row, 1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
    emit list.customContextMenuRequested(centre);
    auto* menu = app.view->findChild<QMenu*>(QStringLiteral("foundListMenu"));
    QVERIFY(menu);
    if (whileOpen) {
        whileOpen();
    }
    for (QAction* action : menu->actions()) {
        if (action->property("controlId").toInt() == commandId) {
            action->trigger();
            menu->close();
            return;
        }
    }
    QFAIL("menu item missing");
}

} // namespace

class FoundAddressesTest : public QObject {
    Q_OBJECT
private slots:
    void copyCommandsTakeTheChosenRow() {
        Application app(2, settingsWithAddresses(stored));
        auto& list = *controlOf<QTableView>(*app.view, ControlId::FoundList);
        emit list.customContextMenuRequested(QPoint(5, 5)); // no row selected: no menu
        QVERIFY(!app.view->findChild<QMenu*>(QStringLiteral("foundListMenu")));
        const std::pair<int, const char*> copies[] = {
            {501, "1BddressTwo"},
            {502, "5KeyTwo"},
            {503, "Pattern: 1B\r\nBitcoin Public address: 1BddressTwo\r\nBitcoin Private key: "
                  "5KeyTwo"}};
        for (const auto& [commandId, copied] : copies) {
            QApplication::clipboard()->setText(QStringLiteral("before"));
            chooseOnRow(app, 1, commandId);
            QCOMPARE(QApplication::clipboard()->text(), QString::fromLatin1(copied));
        }
    }

    // A delete asks nothing, a delete-all asks first; both spare keys found while the menu or
    // the question is open, and save at once.
    void deletionsAreSavedAndSpareKeysFoundMeanwhile() {
        Application app(2, settingsWithAddresses({stored[0], stored[1], stored[2]}));
        installScript(app, "forever\n");
        pressStartWith(app, QStringLiteral("1Ab"));
        std::vector<testing::ValidKey> arriving{testing::kAb1, testing::kAb2};
        const auto keyArrives = [&app, &arriving] {
            std::ofstream(app.folder() / "results.txt", std::ios::binary | std::ios::app)
                << arriving.front().record("\n");
            arriving.erase(arriving.begin());
            app.view->runner().run().pass(false);
        };
        chooseOnRow(app, 1, 505, keyArrives); // the new row is selected while the menu is open
        const std::array<std::string, 3> ab1{"1Ab", std::string(testing::kAb1.address),
                                             std::string(testing::kAb1.key)};
        QVERIFY(savedSettings(app).starts_with(settingsWithAddresses({stored[0], stored[2], ab1})));
        QVERIFY(app.dialogs.shown.empty());
        app.dialogs.yesNoAnswers = {false, true, true};
        chooseOnRow(app, 0, 506);
        QCOMPARE(app.dialogs.shown.back().text,
                 std::string("Do you want to delete all Bitcoin addresses ?"));
        QCOMPARE(foundListAddresses(app),
                 "1AddressOne\n1CddressThree\n" + std::string(testing::kAb1.address) + "\n");
        app.dialogs.whileAsking = keyArrives;
        chooseOnRow(app, 0, 506);
        QCOMPARE(foundListAddresses(app), std::string(testing::kAb2.address) + "\n");
        QVERIFY(savedSettings(app).find("BTC_KEY_PRIV_ENCON_0=" + std::string(testing::kAb2.key)) !=
                std::string::npos);
        app.dialogs.whileAsking = {};
        chooseOnRow(app, 0, 506);
        QVERIFY(savedSettings(app).find("ENCON") == std::string::npos);
        QVERIFY(!app.frame->command(CommandId::ExportAll)->isEnabled());
    }
};

QTEST_MAIN(FoundAddressesTest)
#include "FoundAddressesTest.moc"
