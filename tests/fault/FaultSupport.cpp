#include "FaultSupport.h"

#include "TestGenerators.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"

#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarwick::fault {

bool eventually(const std::function<bool()>& condition, std::chrono::seconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

pid_t startProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& folder) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    const std::string output = folder / "program-output.txt";
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    // The child: only what is safe between fork and exec.
    const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (::chdir(folder.c_str()) != 0 || fd < 0 || ::dup2(fd, 1) < 0 || ::dup2(fd, 2) < 0)
        ::_exit(126);
    ::execv(program.c_str(), pointers.data());
    ::_exit(127);
}

void killAndReap(pid_t pid) {
    ::kill(pid, SIGKILL);
    exitCodeOf(pid);
}

int exitCodeOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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

bool generatorRunningIn(const std::filesystem::path& folder) {
    const auto generators = std::filesystem::canonical(folder / "vanitygen");
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        std::error_code error;
        const auto exe = std::filesystem::read_symlink(entry.path() / "exe", error);
        if (!error && exe.parent_path() == generators && processAlive(std::stoi(name)))
            return true;
    }
    return false;
}

void appendBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary | std::ios::app)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
    testing::InstallTestGenerators(app.folder());
    testing::WriteGeneratorScript(app.folder(), script);
    auto* box = test::controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1Ab"));
    pressStart(app);
}

pid_t startedGenerator(const test::Application& app) {
    for (int waited = 0; waited < 10000; waited += 10) {
        if (const pid_t pid = generatorPid(app.folder()))
            return pid;
        QTest::qWait(10);
    }
    return 0;
}

} // namespace tarwick::fault
