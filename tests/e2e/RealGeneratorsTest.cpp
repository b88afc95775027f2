#include "GuiTestSupport.h"
#include "PoolVectors.h"
#include "TestPool.h"
#include "ec_reference.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <fstream>

using namespace tarwick;
using tarwick::test::Application;
using tarwick::test::controlOf;
using tarwick::test::fileText;
using tarwick::test::savedSettings;

namespace {

const std::filesystem::path builtGenerators{TARWICK_GENERATOR_FOLDER};

// Puts the built generator programs where the front-end looks for them.
bool installGenerators(const Application& app) {
    std::filesystem::create_directories(app.folder() / "vanitygen");
    bool any = false;
    for (const char* name : {"vanitygen64.exe", "oclvanitygen.exe", "oclvanityminer64.exe"}) {
        const auto built = builtGenerators / name;
        if (!std::filesystem::exists(built))
            continue;
        std::filesystem::copy_file(built, app.folder() / "vanitygen" / name);
        any = true;
    }
    return any;
}

struct Found {
    std::string mark, pattern, address, key;
};

std::vector<Found> listedAddresses(const Application& app) {
    std::vector<Found> found;
    const QAbstractItemModel& model =
        *controlOf<QTableView>(*app.view, ControlId::FoundList)->model();
    for (int r = 0; r < model.rowCount(); ++r) {
        found.push_back({model.index(r, 0).data().toString().toStdString(),
                         model.index(r, 1).data().toString().toStdString(),
                         model.index(r, 2).data().toString().toStdString(),
                         model.index(r, 3).data().toString().toStdString()});
    }
    return found;
}

// The key really controls the address: re-derived with libsecp256k1 and OpenSSL, never with
// the generators' own code.
void verifyKey(const Found& found) {
    QCOMPARE(found.mark, std::string("new"));
    const bool compressed = found.key[0] == 'K' || found.key[0] == 'L';
    const std::string mismatch =
        test::referenceAddressMismatch(found.key, found.address, compressed);
    QVERIFY2(mismatch.empty(), mismatch.c_str());
}

bool startsWith(const std::string& text, const std::string& prefix, bool ignoringCase) {
    if (text.size() < prefix.size())
        return false;
    return QString::fromStdString(text.substr(0, prefix.size()))
               .compare(QString::fromStdString(prefix),
                        ignoringCase ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

void typePatterns(Application& app, const QString& text) {
    auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    QTest::keyClicks(box, text);
}

void waitForCompletion(Application& app, int seconds) {
    QTRY_VERIFY2_WITH_TIMEOUT(
        app.view->console().toPlainText().contains(QStringLiteral("Search completed")) ||
            app.view->console().toPlainText().contains(QStringLiteral("[ERROR]")),
        qPrintable(app.view->console().toPlainText()), seconds * 1000);
    QVERIFY2(!app.view->console().toPlainText().contains(QStringLiteral("[ERROR]")),
             qPrintable(app.view->console().toPlainText()));
}

} // namespace

class RealGeneratorsTest : public QObject {
    Q_OBJECT
private slots:
    void cpuGeneratorFindsAVerifiedAddress();
    void cpuGeneratorSearchesAPatternsFileIgnoringCase();
    void openClListingAndSearch();
    void poolMinerClaimsAVerifiedSolution();
};

void RealGeneratorsTest::cpuGeneratorFindsAVerifiedAddress() {
    Application app(2);
    if (!std::filesystem::exists(builtGenerators / "vanitygen64.exe"))
        QFAIL("vanitygen64.exe was not built");
    QVERIFY(installGenerators(app));
    typePatterns(app, QStringLiteral("1A"));
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    waitForCompletion(app, 60);

    const std::vector<Found> found = listedAddresses(app);
    QCOMPARE(found.size(), std::size_t{1});
    QCOMPARE(found[0].pattern, std::string("1A"));
    QVERIFY(startsWith(found[0].address, "1A", false));
    verifyKey(found[0]);
    const QString console = app.view->console().toPlainText();
    QVERIFY(console.contains(
        QStringLiteral("***** FOUND Bitcoin address *****\nPattern: 1A\nBTC address: ") +
        QString::fromStdString(found[0].address) + QStringLiteral("\nPrivate key: ") +
        QString::fromStdString(found[0].key)));
    const std::string settings = savedSettings(app);
    QVERIFY(settings.find("BTC_ADDR_PUB_ENCON_0=" + found[0].address + "\r\n") !=
            std::string::npos);
    QVERIFY(settings.find("BTC_KEY_PRIV_ENCON_0=" + found[0].key + "\r\n") != std::string::npos);
    QVERIFY(controlOf<QLineEdit>(*app.view, ControlId::Progress) != nullptr);
}

void RealGeneratorsTest::cpuGeneratorSearchesAPatternsFileIgnoringCase() {
    Application app(2);
    QVERIFY(installGenerators(app));
    std::ofstream(app.folder() / "wanted patterns.txt", std::ios::binary) << "1ab\r\r\n1Cd\r\r\n";
    app.frame->command(CommandId::CaseInsensitive)->trigger();
    app.dialogs.fileChoices.push_back(std::string("wanted patterns.txt"));
    QWidget* fromFile = app.view->control(ControlId::PatternsFromFile);
    QTest::mouseClick(fromFile, Qt::LeftButton, {}, QPoint(5, fromFile->height() / 2));
    QTest::mouseClick(app.view->control(ControlId::SelectFile), Qt::LeftButton);
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    waitForCompletion(app, 120);

    const std::vector<Found> found = listedAddresses(app);
    QCOMPARE(found.size(), std::size_t{2});
    for (const Found& f : found) {
        verifyKey(f);
        QVERIFY2(startsWith(f.address, f.pattern, true), f.address.c_str());
    }
    QVERIFY(app.view->console().toPlainText().contains(QStringLiteral("Patterns to search: 2\n")));
}

void RealGeneratorsTest::openClListingAndSearch() {
    Application app(2);
    if (!std::filesystem::exists(builtGenerators / "oclvanitygen.exe"))
        QSKIP("oclvanitygen.exe is not built in this tree");
    QVERIFY(installGenerators(app));
    app.frame->command(CommandId::ListPlatforms)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(app.frame->command(CommandId::ListPlatforms)->isEnabled(), 60000);
    const QString listing = app.view->console().toPlainText();
    QVERIFY2(listing.contains(QStringLiteral("Available OpenCL platforms:")), qPrintable(listing));
    QVERIFY2(listing.contains(QRegularExpression(
                 QStringLiteral("0: \\[[^\\]]*\\] Portable Computing Language"))),
             qPrintable(listing));

    auto* apps = controlOf<QComboBox>(*app.view, ControlId::ExternalApp);
    apps->setCurrentIndex(1);
    emit apps->activated(1);
    typePatterns(app, QStringLiteral("1A"));
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    waitForCompletion(app, 300);
    const std::vector<Found> found = listedAddresses(app);
    QCOMPARE(found.size(), std::size_t{1});
    QVERIFY(startsWith(found[0].address, "1A", false));
    verifyKey(found[0]);
}

void RealGeneratorsTest::poolMinerClaimsAVerifiedSolution() {
    test::TestPool pool;
    const test::Key requester = test::keyFromHex(test::kRequesterKey);
    const std::string publicKey = test::toHex(test::referencePublicKey(requester, false));
    pool.setWork("1Ab:" + publicKey + ":0:0.25;easy\n");
    // The pool comes from the settings file, as a user points the program at another pool.
    Application app(2, "[Settings]\r\nexternal_app=2\r\npool_url=" + pool.url() + "\r\n");
    if (!std::filesystem::exists(builtGenerators / "oclvanityminer64.exe"))
        QSKIP("oclvanityminer64.exe is not built in this tree");
    QVERIFY(installGenerators(app));
    QTest::keyClicks(app.view->control(ControlId::RewardAddress),
                     QString::fromLatin1(test::kRewardAddress));
    typePatterns(app, QStringLiteral("1Ab"));
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!pool.accepted().empty(), 300000);
    QTRY_VERIFY_WITH_TIMEOUT(controlOf<QLineEdit>(*app.view, ControlId::Progress)
                                 ->text()
                                 .contains(QStringLiteral("key/s")),
                             30000);
    QVERIFY(app.view->console().toPlainText().contains(
        QStringLiteral("Process: Vanityminer pool (OpenCL GPU)\n-----")));
    QTest::mouseClick(app.view->control(ControlId::StopSearch), Qt::LeftButton);

    const test::TestPool::Accepted claim = pool.accepted().front();
    QCOMPARE(claim.rewardAddress, std::string(test::kRewardAddress));
    QVERIFY(startsWith(claim.address, "1Ab", false));
    // The requester's full key a + k controls the claimed address.
    const test::Key offset =
        test::keyFromHex(std::string(64 - claim.offsetHex.size(), '0') + claim.offsetHex);
    QCOMPARE(test::referenceAddress(test::referenceKeyPlus(requester, offset), false),
             claim.address);
}

QTEST_MAIN(RealGeneratorsTest)
#include "RealGeneratorsTest.moc"
