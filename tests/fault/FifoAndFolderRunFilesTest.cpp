// The files the run loop reads each second can be replaced by a generator with a FIFO, whose
// open would wait for a writer and freeze the window, or by a folder. The readers must return
// at once with nothing, and Settings.ini in such a state must be left alone.
#include "FaultProcesses.h"
#include "core/found/CheckFoundKeys.h"
#include "core/found/FoundKeyScanner.h"
#include "core/output/ProgressLine.h"
#include "core/search/ReadWholeFile.h"
#include "core/settings/SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarwick;

namespace {

struct QuietConsole : ConsoleSink {
    std::vector<std::string> lines;
    void append(std::string_view text, ConsoleStyle, bool) override { lines.emplace_back(text); }
    void clear() override {}
};

struct NoEvents : FoundKeyEvents {
    void SetScrollLockLight(bool) override {}
    void beep(int, int) override {}
    void foundAddressAdded(std::size_t) override {}
};

// A regression that blocks fails here instead of hanging the test run.
class SpecialFiles : public ::testing::Test {
protected:
    void SetUp() override { ::alarm(20); }
    void TearDown() override { ::alarm(0); }
    fault::Folder folder;
};

} // namespace

TEST_F(SpecialFiles, FifoInPlaceOfTheRunFilesIsNeverOpened) {
    const auto results = folder.path() / "results.txt";
    const auto log = folder.path() / "stdout.log";
    ASSERT_EQ(::mkfifo(results.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
    FoundAddressStore store;
    NoEvents events;
    QuietConsole console;
    FoundKeyTarget target{store, {}, events, console};
    EXPECT_FALSE(FoundKeyScanner(results).check(target));
    EXPECT_EQ(ReadProgressLine(log), "");
    EXPECT_EQ(ReadWholeFile(log), "");
    EXPECT_TRUE(store.empty());
}

TEST_F(SpecialFiles, FolderInPlaceOfTheRunFilesReadsAsNothing) {
    const auto results = folder.path() / "results.txt";
    const auto log = folder.path() / "stdout.log";
    std::filesystem::create_directory(results);
    std::filesystem::create_directory(log);
    FoundAddressStore store;
    NoEvents events;
    QuietConsole console;
    FoundKeyTarget target{store, {}, events, console};
    EXPECT_FALSE(FoundKeyScanner(results).check(target));
    EXPECT_EQ(ReadProgressLine(log), "");
    EXPECT_EQ(ReadWholeFile(log), "");
}

TEST_F(SpecialFiles, SettingsFifoIsUnreadableAndNeverReplaced) {
    const auto file = folder.path() / "Settings.ini";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    QuietConsole console;
    SettingsFile settings(file, console);
    ViewSettings view;
    FoundAddressStore store;
    settings.LoadSettings(view, store);
    EXPECT_FALSE(settings.SaveSettings(view, store, false));
    EXPECT_TRUE(std::filesystem::is_fifo(file));
    ASSERT_EQ(console.lines.size(), 1u);
    EXPECT_TRUE(console.lines[0].starts_with("[ERROR] 'Settings.ini' could not be read"));
}
