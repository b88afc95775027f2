#include "FaultGuiSupport.h"

#include "FaultProcesses.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <fstream>
#include <unistd.h>

namespace tarwick::fault {

QString consoleText(const test::Application& app) {
    test::finishSaves(app);
    return app.view->console().toPlainText();
}

void typePatterns(test::Application& app, const QString& text) {
    auto* box = test::controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    box->setFocus();
    QTest::keyClicks(box, text);
}

void pressStart(test::Application& app) {
    QTest::mouseClick(test::controlOf<QPushButton>(*app.view, ControlId::StartSearch),
                      Qt::LeftButton);
}

void pressStop(test::Application& app) {
    QTest::mouseClick(test::controlOf<QPushButton>(*app.view, ControlId::StopSearch),
                      Qt::LeftButton);
}

bool runActive(const test::Application& app) {
    return !app.view->control(ControlId::StopSearch)->isHidden();
}

int foundRows(const test::Application& app) {
    return test::controlOf<QTableView>(*app.view, ControlId::FoundList)->model()->rowCount();
}

QColor colourOf(const test::Application& app, const QString& text) {
    const QTextCursor found = app.view->console().document()->find(text);
    return found.isNull() ? QColor() : found.charFormat().foreground().color();
}

pid_t startedGenerator(const test::Application& app) {
    const auto file = app.folder() / "generator-pid.txt";
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        const std::string text = fileBytes(file);
        if (text.ends_with('\n'))
            return static_cast<pid_t>(std::atoi(text.c_str()));
        QTest::qWait(10);
    }
    return 0;
}

std::vector<pid_t> generatorsRunningIn(const std::filesystem::path& folder) {
    std::vector<pid_t> found;
    const std::filesystem::path generators = std::filesystem::canonical(folder / "vanitygen");
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code error;
        const auto exe = std::filesystem::read_symlink(entry.path() / "exe", error);
        const pid_t pid = static_cast<pid_t>(std::stoi(name));
        if (!error && exe.parent_path() == generators && processAlive(pid))
            found.push_back(pid);
    }
    return found;
}

void appendBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::chrono::milliseconds longestStall(std::chrono::milliseconds span) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer beat;
    beat.setInterval(10);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    beat.start();
    while (clock.elapsed() < span.count())
        QTest::qWait(5);
    return std::chrono::milliseconds(longest);
}

} // namespace tarwick::fault
