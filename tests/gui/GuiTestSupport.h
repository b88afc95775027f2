#pragma once

// The GUI tests' shared set-up: what they all include and the helpers they share.
#include "ValidKeys.h"
#include "app/MainFrame.h"
#include "core/common/Clock.h"
#include "core/common/UserDialogs.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"
#include "view/TarwickView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarwick::test {

// Answers the program's questions from a script and remembers what it was shown.
struct FakeDialogs : UserDialogs {
    struct Shown {
        std::string caption, text;
    };
    std::vector<Shown> shown;
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<std::string>> fileChoices;
    // Runs while a question is open, as the window's timers do behind a real box.
    std::function<void()> whileAsking;

    void showMessage(std::string_view caption, std::string_view text) override {
        shown.push_back({std::string(caption), std::string(text)});
    }
    bool askYesNo(std::string_view caption, std::string_view text) override {
        showMessage(caption, text);
        if (whileAsking) {
            whileAsking();
        }
        return !yesNoAnswers.empty() && next(yesNoAnswers);
    }
    std::optional<std::string> choosePatternsFile() override {
        return fileChoices.empty() ? std::nullopt : next(fileChoices);
    }
    template <typename T>
    static T next(std::deque<T>& answers) {
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

struct FakeShell : DesktopShell {
    std::vector<std::string> openedUrls, editedFiles;
    void openUrl(std::string_view url) override { openedUrls.emplace_back(url); }
    void openInTextEditor(std::string_view path) override { editedFiles.emplace_back(path); }
};

// The machine's clock, which a test can move forward to skip a long wait.
struct AdvancableClock : Clock {
    std::chrono::steady_clock::duration skipped{};
    std::chrono::steady_clock::time_point now() const override {
        return std::chrono::steady_clock::now() + skipped;
    }
};

// The real main window over a fresh temporary working folder, built the way main() does.
struct Application {
    // settingsIni: the Settings.ini the working folder holds before the program starts.
    explicit Application(int logicalProcessors = 2, const std::string& settingsIni = {});
    ~Application();

    std::filesystem::path folder() const;

    QTemporaryDir workingFolder;
    QString previousFolder;
    AdvancableClock clock;
    FakeDialogs dialogs;
    FakeShell shell;
    TarwickView* view = nullptr;
    std::unique_ptr<MainFrame> frame;
};

template <typename Widget>
Widget* controlOf(const TarwickView& view, int controlId) {
    return qobject_cast<Widget*>(view.control(controlId));
}

// Settings.ini as the program writes it, with the given found addresses (pattern, address, key).
std::string settingsWithAddresses(const std::vector<std::array<std::string, 3>>& addresses);

// Lets the saves the window asked for finish and their messages reach the console.
void finishSaves(const Application& app);
// Settings.ini once the saves asked for are done, and whether it holds the whole line.
std::string savedSettings(const Application& app);
bool saved(const Application& app, const std::string& line);

// The whole text of a file, empty when it cannot be read.
std::string fileText(const std::filesystem::path& path);

// Clicks a control near its left edge, where a radio button's circle is.
void click(Application& app, int controlId);
// Installs the test generators in the working folder, running the script.
void installScript(const Application& app, std::string_view script);
// Selects a list item the way a user does: opening the list and clicking a row.
void chooseItem(Application& app, int comboId, int index);
// Puts the patterns in their box and presses Start.
void pressStartWith(Application& app, const QString& patterns);
// The addresses in the found list, one a line.
std::string foundListAddresses(const Application& app);

} // namespace tarwick::test
