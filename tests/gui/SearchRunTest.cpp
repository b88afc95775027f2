#include "GuiTestSupport.h"
#include "TestGenerators.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <sstream>

using namespace tarwick;
using tarwick::test::Application;
using tarwick::test::controlOf;
using tarwick::test::fileText;

namespace {

// The arguments the generator received, one a line, without its own name.
QString generatorArguments(const Application& app) {
    const std::string lines = fileText(app.folder() / "generator-args.txt");
    const auto firstBreak = lines.find('\n');
    return QString::fromStdString(firstBreak == std::string::npos ? std::string()
                                                                  : lines.substr(firstBreak + 1));
}

// The program the generator was started as, made relative to the working folder.
std::string generatorProgram(const Application& app) {
    const std::string lines = fileText(app.folder() / "generator-args.txt");
    return std::filesystem::path(lines.substr(0, lines.find('\n'))).filename().string();
}

QString consoleText(const Application& app) {
    return app.view->console().toPlainText();
}

void typePatterns(Application& app, const QString& text) {
    auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, lines[i]);
    }
}

void pressStart(Application& app) {
    QTest::mouseClick(controlOf<QPushButton>(*app.view, ControlId::StartSearch), Qt::LeftButton);
}

bool runActive(const Application& app) {
    return !app.view->control(ControlId::StopSearch)->isHidden();
}

} // namespace

class SearchRunTest : public QObject {
    Q_OBJECT
private slots:
    void searchRunsShowsProgressAndCompletes();
    void stopEndsTheGeneratorAndSaysSo();
    void listingShowsWhatTheGeneratorPrinted();
    void missingGeneratorIsReported();
    void badPatternsStartNothing();
    void filePathWithQuotesAndSpacesReachesTheGeneratorWhole();
    void closingTheWindowDuringARunEndsTheGenerator();
};

void SearchRunTest::searchRunsShowsProgressAndCompletes() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "status 6 400\n");
    typePatterns(app, QStringLiteral("1Abc\n1Xyz"));
    pressStart(app);

    // Start gives way to Stop at once, and no second run can be started meanwhile.
    QVERIFY(runActive(app));
    QVERIFY(app.view->control(ControlId::StartSearch)->isHidden());
    QVERIFY(!app.frame->command(CommandId::ListPlatforms)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(controlOf<QLineEdit>(*app.view, ControlId::Progress)
                                 ->text()
                                 .contains(QStringLiteral("key/s")),
                             5000);
    QTRY_VERIFY_WITH_TIMEOUT(!runActive(app), 10000);

    const QString console = consoleText(app);
    QVERIFY2(
        console.startsWith(QStringLiteral("************\nSearch started\n************\n"
                                          "Process: Vanitygen (CPU)\nPatterns to search: 2\n")),
        qPrintable(console));
    QVERIFY2(console.endsWith(QStringLiteral("Search completed\n")), qPrintable(console));
    QVERIFY(!app.view->control(ControlId::StartSearch)->isHidden());
    QVERIFY(app.view->control(ControlId::StartSearch)->isEnabled());
    QVERIFY(app.frame->command(CommandId::ListPlatforms)->isEnabled());
    QCOMPARE(controlOf<QLineEdit>(*app.view, ControlId::ElapsedTime)->text().size() > 0, true);
    QCOMPARE(generatorProgram(app), std::string("vanitygen64.exe"));
    QCOMPARE(generatorArguments(app),
             QStringLiteral("-t\n1\n-o\nresults.txt\n-f\nvanitygen//patterns.txt\n"));
    const std::string patterns = fileText(app.folder() / "vanitygen" / "patterns.txt");
    QVERIFY(patterns.find("1Abc") == 0);
    QVERIFY(patterns.find("1Xyz") != std::string::npos);
}

void SearchRunTest::stopEndsTheGeneratorAndSaysSo() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "status forever 300\n");
    typePatterns(app, QStringLiteral("1Abc"));
    pressStart(app);
    QTRY_VERIFY_WITH_TIMEOUT(controlOf<QLineEdit>(*app.view, ControlId::Progress)
                                 ->text()
                                 .contains(QStringLiteral("key/s")),
                             5000);
    QTest::mouseClick(controlOf<QPushButton>(*app.view, ControlId::StopSearch), Qt::LeftButton);
    QVERIFY(!runActive(app));
    QTRY_VERIFY_WITH_TIMEOUT(
        consoleText(app).endsWith(QStringLiteral("-----\nSearch canceled by user\n")), 5000);
    QVERIFY(app.view->control(ControlId::StartSearch)->isEnabled());
}

void SearchRunTest::listingShowsWhatTheGeneratorPrinted() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    app.frame->command(CommandId::ListPlatforms)->trigger();
    QVERIFY(!app.frame->command(CommandId::ListPlatforms)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(app.frame->command(CommandId::ListPlatforms)->isEnabled(), 5000);
    const QString console = consoleText(app);
    QVERIFY2(console.contains(QStringLiteral("Available OpenCL platforms:\n0: [Tarwick test]")),
             qPrintable(console));
    QVERIFY(!console.contains(QStringLiteral("Search started")));
    QCOMPARE(generatorProgram(app), std::string("oclvanitygen.exe"));
    QCOMPARE(generatorArguments(app), QStringLiteral("-D\n99:99\n-o\nresults.txt\n1Tarwick\n"));
    QVERIFY(app.frame->command(CommandId::ListPlatforms)->isEnabled());
}

void SearchRunTest::missingGeneratorIsReported() {
    Application app;
    typePatterns(app, QStringLiteral("1Abc"));
    pressStart(app);
    QTRY_VERIFY_WITH_TIMEOUT(!runActive(app), 5000);
    // The console is not cleared for a generator that never started.
    QCOMPARE(consoleText(app),
             QStringLiteral(
                 "Tarwick v1.1a\n[ERROR]\nThe external .exe program could not be started.\n"));
    QVERIFY(app.view->control(ControlId::StartSearch)->isEnabled());
}

void SearchRunTest::badPatternsStartNothing() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    pressStart(app);
    QCOMPARE(
        consoleText(app),
        QStringLiteral("Tarwick v1.1a\n[ERROR]\n'Patterns to search' box is empty. Please enter "
                       "the Bitcoin patterns to search. For example 1Mary\n"));
    typePatterns(app, QStringLiteral("1Abc 0"));
    pressStart(app);
    QVERIFY(consoleText(app).endsWith(QStringLiteral(
        "[ERROR]\n'Patterns to search' box contains invalid characters.\nValid "
        "characters are: 123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz\n\n")));
    QVERIFY(!runActive(app));
    QVERIFY(!std::filesystem::exists(app.folder() / "generator-args.txt"));

    // The pool miner needs a reward address: asked for in a box.
    auto* apps = controlOf<QComboBox>(*app.view, ControlId::ExternalApp);
    apps->setCurrentIndex(2);
    emit apps->activated(2);
    auto* box = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->clear();
    typePatterns(app, QStringLiteral("1Abc"));
    pressStart(app);
    QCOMPARE(app.dialogs.shown.size(), std::size_t{1});
    QCOMPARE(app.dialogs.shown[0].text,
             std::string("No reward Bitcoin address specified in 'Reward Bitcoin address'."));
    QVERIFY(!runActive(app));
}

void SearchRunTest::filePathWithQuotesAndSpacesReachesTheGeneratorWhole() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "status 4 400\n");
    const std::string name = "my \"odd\" -k patterns.txt";
    std::ofstream(app.folder() / name, std::ios::binary) << "1Abc\r\n1Xyz\r\n";
    app.dialogs.fileChoices.push_back(name);
    auto* fromFile = app.view->control(ControlId::PatternsFromFile);
    QTest::mouseClick(fromFile, Qt::LeftButton, {}, QPoint(5, fromFile->height() / 2));
    QTest::mouseClick(app.view->control(ControlId::SelectFile), Qt::LeftButton);
    QCOMPARE(controlOf<QLineEdit>(*app.view, ControlId::PatternsFilePath)->text(),
             QString::fromStdString(name));
    pressStart(app);
    QTRY_VERIFY_WITH_TIMEOUT(!runActive(app), 10000);
    QCOMPARE(generatorArguments(app),
             QString::fromStdString("-t\n1\n-o\nresults.txt\n-f\n" + name + "\n"));
    QVERIFY(consoleText(app).contains(QStringLiteral("Patterns to search: 2\n")));
}

void SearchRunTest::closingTheWindowDuringARunEndsTheGenerator() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "forever\n");
    typePatterns(app, QStringLiteral("1Abc"));
    pressStart(app);
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(app.folder() / "generator-pid.txt"), 5000);
    const int pid = std::stoi(fileText(app.folder() / "generator-pid.txt"));
    app.frame->close();
    QVERIFY(!app.frame->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(
        !std::filesystem::exists("/proc/" + std::to_string(pid) + "/cmdline") ||
            fileText("/proc/" + std::to_string(pid) + "/stat").find(" Z ") != std::string::npos,
        5000);
}

QTEST_MAIN(SearchRunTest)
#include "SearchRunTest.moc"
