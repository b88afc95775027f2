#include "GuiTestSupport.h"
#include "view/SearchRunner.h"

#include <QClipboard>
#include <QMenu>
#include <algorithm>

using namespace tarwick;
using namespace tarwick::test;
using testing::kAb1, testing::kAb2, testing::kCd, testing::kEf;

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
    const QList<QAction*> items = menu->actions();
    const auto item = std::ranges::find_if(
        items, [commandId](QAction* a) { return a->property("controlId").toInt() == commandId; });
    QVERIFY2(item != items.end(), "menu item missing");
    (*item)->trigger();
    menu->close();
}

std::string consoleText(const Application& app) {
    return app.view->console().toPlainText().toStdString();
}

bool runActive(const Application& app) {
    return app.view->control(ControlId::StartSearch)->isHidden() &&
           !app.frame->command(CommandId::ListPlatforms)->isEnabled();
}

void waitForTheEnd(const Application& app, const std::string& closing) {
    QTRY_VERIFY2_WITH_TIMEOUT(consoleText(app).ends_with(closing + "\n"), consoleText(app).c_str(),
                              15000);
}

template <typename... Items>
std::string lines(Items... items) {
    return ((std::string(items) + "\n") + ...);
}

} // namespace

class SearchRunTest : public QObject {
    Q_OBJECT
private slots:
    void searchShowsProgressPausesForHeatAndStopEndsIt() {
        Application app(2, "[Settings]\r\navoid_overheating=1\r\n");
        installScript(app, "status forever 300\n");
        pressStartWith(app, QStringLiteral("1Abc\n1Xyz"));
        QVERIFY(runActive(app));
        const auto shown = [&app](int id) {
            return controlOf<QLineEdit>(*app.view, id)->text().toStdString();
        };
        QTRY_VERIFY_WITH_TIMEOUT(
            shown(ControlId::Progress).find(" Kkey/s]  [total ") != std::string::npos, 5000);
        QVERIFY(shown(ControlId::ElapsedTime).starts_with("00h:00m:"));
        QVERIFY(consoleText(app).starts_with("************\nSearch started\n************\nProcess: "
                                             "Vanitygen (CPU)\nPatterns to search: 2\n"));
        const std::string arguments = fileText(app.folder() / "generator-args.txt");
        QCOMPARE(arguments.substr(arguments.find('\n')),
                 lines("", "-t", "1", "-o", "results.txt", "-f", "vanitygen//patterns.txt"));
        QVERIFY(fileText(app.folder() / "vanitygen" / "patterns.txt").starts_with("1Abc\n1Xyz"));
        app.clock.skipped += std::chrono::minutes(31); // the next pass pauses
        QTRY_VERIFY_WITH_TIMEOUT(shown(ControlId::ElapsedTime).ends_with(" seconds"), 5000);
        app.clock.skipped += std::chrono::minutes(11); // the pause's timer resumes the search
        QTRY_VERIFY_WITH_TIMEOUT(consoleText(app).ends_with("\nResuming search process.\n"), 5000);
        QVERIFY(runActive(app));
        QTest::mouseClick(app.view->control(ControlId::StopSearch), Qt::LeftButton);
        QVERIFY(!runActive(app));
        waitForTheEnd(app, "\nResuming search process.\nSearch canceled by user");
    }

    void keysFoundAreReportedOnceListedAndSaved() {
        // kAb2 is stored already: found again, it is neither announced nor listed twice.
        Application app(2,
                        "[Settings]\r\nscrollLocl_light_on=1\r\nplay_sound_found=1\r\n" +
                            settingsWithAddresses({{"1Ab", std::string(kAb2.address), "5KOld"}}));
        installScript(app, kAb1.foundLine() + kAb2.foundLine() + kCd.foundLine() +
                               "status 2 600\n" + kEf.foundLine() + "status 3 600\n");
        pressStartWith(app, QStringLiteral("1Ab\n1Cd\n1Ef"));
        waitForTheEnd(app, "Search completed");
        QCOMPARE(foundListAddresses(app),
                 lines(kAb2.address, kAb1.address, kCd.address, kEf.address));
        auto& list = *controlOf<QTableView>(*app.view, ControlId::FoundList);
        QCOMPARE(list.model()->index(1, 0).data().toString(), QStringLiteral("new"));
        QCOMPARE(list.model()->index(1, 3).data().toString().toStdString(), std::string(kAb1.key));
        QCOMPARE(list.selectionModel()->selectedRows().value(0).row(), 3);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&list));
        QCOMPARE(QString::fromStdString(consoleText(app)).count(QStringLiteral("FOUND")), 3);
        QVERIFY(app.frame->command(CommandId::ExportAll)->isEnabled());
        QVERIFY(saved(app, "BTC_KEY_PRIV_ENCON_3=" + std::string(kEf.key)));
    }

    void keyThatFailsItsCheckKeepsTheResultsFile() {
        // A key the last session's generator wrote just before the program went down, checked
        // against that run's patterns before a new run deletes the file.
        Application app;
        installScript(app, "status 3 600\n");
        std::ofstream(app.folder() / "results.txt", std::ios::binary)
            << testing::ValidKey{"1Ab", testing::kAb3.address, kAb1.key}.record("\n");
        std::ofstream(app.folder() / "run-patterns.txt") << "case-sensitive\n1Ab\n";
        pressStartWith(app, QStringLiteral("1Ab"));
        waitForTheEnd(app, "Search completed");
        QCOMPARE(foundListAddresses(app), std::string());
        QVERIFY(consoleText(app).find("results.txt holds a key that failed its check, so it is "
                                      "kept as 'results-") != std::string::npos);
    }

    void searchesThatCannotStart() {
        Application app;
        pressStartWith(app, QString());
        QVERIFY(consoleText(app).find("'Patterns to search' box is empty") != std::string::npos);
        installScript(app, "exit 0\n");
        std::filesystem::remove(app.folder() / "vanitygen" / "vanitygen64.exe");
        pressStartWith(app, QStringLiteral("1Abc"));
        QVERIFY(!runActive(app));
        QVERIFY(consoleText(app).ends_with(
            "[ERROR]\nThe external .exe program could not be started.\n"));
        // The pool miner needs a reward address: asked for in a box.
        chooseItem(app, ControlId::ExternalApp, 2);
        pressStartWith(app, QStringLiteral("1Abc"));
        QCOMPARE(app.dialogs.shown.size(), std::size_t{1});
        QCOMPARE(app.dialogs.shown[0].text,
                 std::string("No reward Bitcoin address specified in 'Reward Bitcoin address'."));
        QVERIFY(!runActive(app) && !std::filesystem::exists(app.folder() / "generator-args.txt"));
    }

    void copyCommandsTakeTheChosenRow() {
        Application app(2, settingsWithAddresses(stored));
        auto& list = *controlOf<QTableView>(*app.view, ControlId::FoundList);
        emit list.customContextMenuRequested(QPoint(5, 5)); // no row selected: no menu
        QVERIFY(!app.view->findChild<QMenu*>(QStringLiteral("foundListMenu")));
        QVERIFY(!list.model()->data({}).isValid() && // nothing outside the list
                !list.model()->headerData(0, Qt::Vertical).isValid());
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
        std::vector<testing::ValidKey> arriving{kAb1, kAb2};
        const auto keyArrives = [&app, &arriving] {
            std::ofstream(app.folder() / "results.txt", std::ios::binary | std::ios::app)
                << arriving.front().record("\n");
            arriving.erase(arriving.begin());
            app.view->runner().run().pass(false);
        };
        chooseOnRow(app, 1, 505, keyArrives); // the new row is selected while the menu is open
        QVERIFY(savedSettings(app).starts_with(settingsWithAddresses({stored[0], stored[2]})));
        QVERIFY(app.dialogs.shown.empty());
        app.dialogs.yesNoAnswers = {false, true, true};
        chooseOnRow(app, 0, 506);
        QCOMPARE(app.dialogs.shown.back().text,
                 std::string("Do you want to delete all Bitcoin addresses ?"));
        QCOMPARE(foundListAddresses(app),
                 "1AddressOne\n1CddressThree\n" + std::string(kAb1.address) + "\n");
        app.dialogs.whileAsking = keyArrives;
        chooseOnRow(app, 0, 506);
        QCOMPARE(foundListAddresses(app), std::string(kAb2.address) + "\n");
        QVERIFY(saved(app, "BTC_KEY_PRIV_ENCON_0=" + std::string(kAb2.key)));
        app.dialogs.whileAsking = {};
        chooseOnRow(app, 0, 506);
        QVERIFY(savedSettings(app).find("ENCON") == std::string::npos);
        QVERIFY(!app.frame->command(CommandId::ExportAll)->isEnabled());
    }
};

QTEST_MAIN(SearchRunTest)
#include "SearchRunTest.moc"
