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
#include <algorithm>

using namespace tarwick;
using tarwick::test::Application;
using tarwick::test::controlOf;
using tarwick::test::fileText;

namespace {

// The program the generator was started as (its file name) and its arguments, one a line.
QString generatorCall(const Application& app) {
    const std::string lines = fileText(app.folder() / "generator-args.txt");
    const auto firstBreak = lines.find('\n');
    return QString::fromStdString(
        std::filesystem::path(lines.substr(0, firstBreak)).filename().string() +
        lines.substr(std::min(firstBreak, lines.size())));
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
    void searchShowsProgressAndStopEndsIt();
    void listingShowsWhatTheGeneratorPrinted();
    void badPatternsStartNothing();
};

void SearchRunTest::searchShowsProgressAndStopEndsIt() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), "status forever 300\n");
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
    QVERIFY(!controlOf<QLineEdit>(*app.view, ControlId::ElapsedTime)->text().isEmpty());
    QVERIFY2(consoleText(app).startsWith(
                 QStringLiteral("************\nSearch started\n************\n"
                                "Process: Vanitygen (CPU)\nPatterns to search: 2\n")),
             qPrintable(consoleText(app)));
    QCOMPARE(
        generatorCall(app),
        QStringLiteral("vanitygen64.exe\n-t\n1\n-o\nresults.txt\n-f\nvanitygen//patterns.txt\n"));
    const std::string patterns = fileText(app.folder() / "vanitygen" / "patterns.txt");
    QVERIFY(patterns.starts_with("1Abc") && patterns.find("1Xyz") != std::string::npos);

    QTest::mouseClick(controlOf<QPushButton>(*app.view, ControlId::StopSearch), Qt::LeftButton);
    QVERIFY(!runActive(app));
    QTRY_VERIFY_WITH_TIMEOUT(
        consoleText(app).endsWith(QStringLiteral("-----\nSearch canceled by user\n")), 5000);
    QVERIFY(app.view->control(ControlId::StartSearch)->isEnabled());
    QVERIFY(app.frame->command(CommandId::ListPlatforms)->isEnabled());
}

void SearchRunTest::listingShowsWhatTheGeneratorPrinted() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    QAction* listing = app.frame->command(CommandId::ListPlatforms);
    listing->trigger();
    QVERIFY(!listing->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(listing->isEnabled(), 5000);
    const QString console = consoleText(app);
    QVERIFY2(console.contains(QStringLiteral("Available OpenCL platforms:\n0: [Tarwick test]")),
             qPrintable(console));
    QVERIFY(!console.contains(QStringLiteral("Search started")));
}

void SearchRunTest::badPatternsStartNothing() {
    Application app;
    testing::InstallTestGenerators(app.folder());
    pressStart(app);
    QVERIFY(consoleText(app).endsWith(QStringLiteral("'Patterns to search' box is empty. Please "
                                                     "enter the Bitcoin patterns to search. For "
                                                     "example 1Mary\n")));
    // The pool miner needs a reward address: asked for in a box.
    auto* apps = controlOf<QComboBox>(*app.view, ControlId::ExternalApp);
    apps->setCurrentIndex(2);
    emit apps->activated(2);
    typePatterns(app, QStringLiteral("1Abc"));
    pressStart(app);
    QCOMPARE(app.dialogs.shown.size(), std::size_t{1});
    QCOMPARE(app.dialogs.shown[0].text,
             std::string("No reward Bitcoin address specified in 'Reward Bitcoin address'."));
    QVERIFY(!runActive(app));
    QVERIFY(!std::filesystem::exists(app.folder() / "generator-args.txt"));
}

QTEST_MAIN(SearchRunTest)
#include "SearchRunTest.moc"
