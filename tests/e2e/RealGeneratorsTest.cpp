// The real window driving the real generators in a temporary working folder. Every key they
// report is re-derived with libsecp256k1 and OpenSSL, never with the generators' own code.
#include "EcReference.h"
#include "FaultSupport.h"
#include "PoolVectors.h"
#include "TestPool.h"

#include <QPlainTextEdit>
#include <QTableView>
#include <fstream>

using namespace tarwick;
using Row = std::array<std::string, 3>; // pattern, address, key

namespace {

// Puts the built generator where the front-end looks for it and types the patterns (if any).
bool prepare(fault::Window& app, const char* generator, const QString& patterns = {}) {
    const std::filesystem::path built = std::filesystem::path(TARWICK_GENERATOR_FOLDER) / generator;
    test::controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox)->setPlainText(patterns);
    std::filesystem::create_directories(app.folder() / "vanitygen");
    return std::filesystem::exists(built) &&
           std::filesystem::copy_file(built, app.folder() / "vanitygen" / generator);
}

// Presses Start, waits for the search's end and takes the rows found, each checked: listed as
// new, its key controlling its address.
void search(fault::Window& app, int seconds, std::vector<Row>& found) {
    app.pressStart();
    QTRY_VERIFY2_WITH_TIMEOUT(app.consoleHas("Search completed") || app.consoleHas("[ERROR]"),
                              qPrintable(app.consoleText()), seconds * 1000);
    QVERIFY2(!app.consoleHas("[ERROR]"), qPrintable(app.consoleText()));
    const auto& model = *test::controlOf<QTableView>(*app.view, ControlId::FoundList)->model();
    for (int r = 0; r < model.rowCount(); ++r) {
        const auto cell = [&](int c) { return model.index(r, c).data().toString().toStdString(); };
        found.push_back({cell(1), cell(2), cell(3)});
        QCOMPARE(cell(0), std::string("new"));
        const std::string mismatch = test::referenceAddressMismatch(
            cell(3), cell(2), cell(3)[0] == 'K' || cell(3)[0] == 'L');
        QVERIFY2(mismatch.empty(), mismatch.c_str());
    }
}

} // namespace

class RealGeneratorsTest : public QObject {
    Q_OBJECT
private slots:
    void cpuGeneratorSearchesAPatternsFileIgnoringCase() {
        fault::Window app;
        QVERIFY2(prepare(app, "vanitygen64.exe"), "vanitygen64.exe was not built");
        const std::string file = "wanted patterns \xc3\xa4\xe2\x82\xac.txt";
        std::ofstream(app.folder() / file, std::ios::binary) << "1ab\r\r\n1Cd\r\r\n";
        app.frame->command(CommandId::CaseInsensitive)->trigger();
        app.dialogs.fileChoices.push_back(file);
        test::click(app, ControlId::PatternsFromFile);
        test::click(app, ControlId::SelectFile);
        std::vector<Row> found;
        search(app, 120, found);
        QCOMPARE(found.size(), std::size_t{2});
        for (const auto& [pattern, address, key] : found) {
            QVERIFY2(QString::fromStdString(address).startsWith(QString::fromStdString(pattern),
                                                                Qt::CaseInsensitive),
                     address.c_str());
            QVERIFY(app.consoleText().contains(
                QString::fromStdString("***** FOUND Bitcoin address *****\nPattern: " + pattern +
                                       "\nBTC address: " + address + "\nPrivate key: " + key)));
        }
    }

    void openClListingAndSearch() {
        fault::Window app;
        if (!prepare(app, "oclvanitygen.exe", QStringLiteral("1A"))) {
            QSKIP("oclvanitygen.exe is not built in this tree");
        }
        app.frame->command(CommandId::ListPlatforms)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(app.frame->command(CommandId::ListPlatforms)->isEnabled(), 60000);
        QVERIFY2(app.consoleHas("Available OpenCL platforms:") &&
                     app.consoleHas("] Portable Computing Language"),
                 qPrintable(app.consoleText()));
        test::chooseItem(app, ControlId::ExternalApp, 1);
        std::vector<Row> found;
        search(app, 300, found);
        QCOMPARE(found.size(), std::size_t{1});
        QVERIFY(found[0][1].starts_with("1A"));
    }

    void poolMinerClaimsAVerifiedSolution() {
        test::TestPool pool;
        const test::Key requester = test::keyFromHex(test::kRequesterKey);
        pool.setWork("1Ab:" + test::toHex(test::referencePublicKey(requester, false)) +
                     ":0:0.25;easy\n");
        // The pool comes from the settings file, as a user points the program at another pool.
        fault::Window app(2, "[Settings]\r\nexternal_app=2\r\npool_url=" + pool.url() + "\r\n");
        if (!prepare(app, "oclvanityminer64.exe", QStringLiteral("1Ab"))) {
            QSKIP("oclvanityminer64.exe is not built in this tree");
        }
        QTest::keyClicks(app.view->control(ControlId::RewardAddress),
                         QString::fromLatin1(test::kRewardAddress));
        app.pressStart();
        QTRY_VERIFY_WITH_TIMEOUT(!pool.accepted().empty(), 300000);
        QTRY_VERIFY_WITH_TIMEOUT(app.progressText().contains(QStringLiteral("key/s")), 30000);
        app.stopSearch();

        // The requester's full key a + k controls the claimed address.
        const test::TestPool::Accepted claim = pool.accepted().front();
        QCOMPARE(claim.rewardAddress, std::string(test::kRewardAddress));
        QVERIFY(claim.address.starts_with("1Ab"));
        const test::Key offset =
            test::keyFromHex(std::string(64 - claim.offsetHex.size(), '0') + claim.offsetHex);
        QCOMPARE(test::referenceAddress(test::referenceKeyPlus(requester, offset), false),
                 claim.address);
    }
};

QTEST_MAIN(RealGeneratorsTest)
#include "RealGeneratorsTest.moc"
