#pragma once

// What the fault tests share: the real window, the test generator, real keys, and these helpers.
#include "GuiTestSupport.h"
#include "TestGenerators.h"

#include <sys/types.h>

namespace tarwick::fault {

// The process id the test generator wrote in the folder; 0 while it is not there whole.
pid_t generatorPid(const std::filesystem::path& folder);
// False once the process has ended (a zombie no one has reaped yet counts as ended).
bool processAlive(pid_t pid);
bool fileHolds(const std::filesystem::path& file, std::string_view text);
bool isUserOnly(const std::filesystem::path& file);

// The real window over a fresh working folder, driven as a user would.
struct Window : test::Application {
    using Application::Application;

    QString consoleText() const {
        test::finishSaves(*this);
        return view->console().toPlainText();
    }
    bool consoleHas(const char* text) const {
        return consoleText().contains(QString::fromUtf8(text));
    }
    QString progressText() const {
        return test::controlOf<QLineEdit>(*view, ControlId::Progress)->text();
    }
    bool runActive() const { return !view->control(ControlId::StopSearch)->isHidden(); }
    int foundRows() const {
        return test::controlOf<QTableView>(*view, ControlId::FoundList)->model()->rowCount();
    }
    void pressStart() { QTest::mouseClick(view->control(ControlId::StartSearch), Qt::LeftButton); }
    // Presses Stop and waits until the run has ended and a new one may start.
    void stopSearch() {
        QTest::mouseClick(view->control(ControlId::StopSearch), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(view->control(ControlId::StartSearch)->isEnabled(), 5000);
    }
    // Installs the test generator with the script, enters "1Ab" and presses Start.
    void startSearch(std::string_view script) {
        test::installScript(*this, script);
        test::pressStartWith(*this, QStringLiteral("1Ab"));
    }
    // The generator of the run just started, once it is up; 0 when it did not start in time.
    pid_t startedGenerator() const {
        pid_t pid = 0;
        return QTest::qWaitFor([&] { return (pid = generatorPid(folder())) > 0; }, 10000) ? pid : 0;
    }
};

} // namespace tarwick::fault
