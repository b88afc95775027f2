#include "FaultSupport.h"

#include "view/ConsoleLog.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

namespace tarwick::fault {

pid_t generatorPid(const std::filesystem::path& folder) {
    const std::string text = test::fileText(folder / "generator-pid.txt");
    return text.ends_with('\n') ? static_cast<pid_t>(std::atoi(text.c_str())) : 0;
}

bool processAlive(pid_t pid) {
    const std::string stat = test::fileText("/proc/" + std::to_string(pid) + "/stat");
    // The state follows the command name in parentheses.
    const auto close = stat.rfind(')');
    return !stat.empty() && (close + 2 >= stat.size() || stat[close + 2] != 'Z');
}

bool fileHolds(const std::filesystem::path& file, std::string_view text) {
    return test::fileText(file).find(text) != std::string::npos;
}

bool consoleHas(const test::Application& app, const char* text) {
    return consoleText(app).contains(QString::fromUtf8(text));
}

QString progressText(const test::Application& app) {
    return test::controlOf<QLineEdit>(*app.view, ControlId::Progress)->text();
}

QString consoleText(const test::Application& app) {
    test::finishSaves(app);
    return app.view->console().toPlainText();
}

void pressStart(test::Application& app) {
    QTest::mouseClick(app.view->control(ControlId::StartSearch), Qt::LeftButton);
}

void stopSearch(test::Application& app) {
    QTest::mouseClick(app.view->control(ControlId::StopSearch), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(app.view->control(ControlId::StartSearch)->isEnabled(), 5000);
}

bool runActive(const test::Application& app) {
    return !app.view->control(ControlId::StopSearch)->isHidden();
}

int foundRows(const test::Application& app) {
    return test::controlOf<QTableView>(*app.view, ControlId::FoundList)->model()->rowCount();
}

void startSearch(test::Application& app, std::string_view script) {
    testing::installTestGenerators(app.folder());
    testing::writeGeneratorScript(app.folder(), script);
    auto* box = test::controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1Ab"));
    pressStart(app);
}

pid_t startedGenerator(const test::Application& app) {
    for (int waited = 0; waited < 10000; waited += 10) {
        if (const pid_t pid = generatorPid(app.folder())) {
            return pid;
        }
        QTest::qWait(10);
    }
    return 0;
}

} // namespace tarwick::fault
