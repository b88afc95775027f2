#include "core/settings/SettingsFile.h"

#include "../found/RecordingConsole.h"
#include "../found/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tarwick {
namespace {

using testing::RecordingConsole;
using testing::TempFolder;

FoundAddressStore storeOf(int count) {
    FoundAddressStore store;
    for (int i = 0; i < count; ++i)
        store.AddFoundAddress(true, "1P", "1Addr" + std::to_string(i), std::string(51, 'K'));
    return store;
}

TEST(SettingsFile, MissingFileThenFirstSaveCreatesAPrivateFile) {
    const mode_t previous = ::umask(0);
    TempFolder folder;
    RecordingConsole console;
    SettingsFile file(folder / "Settings.ini", console);
    ViewSettings settings;
    settings.caseInsensitive = true;
    FoundAddressStore store;
    file.LoadSettings(settings, store);
    EXPECT_FALSE(settings.caseInsensitive); // a missing key gives its default
    EXPECT_FALSE(std::filesystem::exists(folder / "Settings.ini"));

    settings.caseInsensitive = true;
    store.AddFoundAddress(true, "1J", "1Jenny", "5KJenny");
    EXPECT_TRUE(file.SaveSettings(settings, store, false));
    ::umask(previous);
    EXPECT_EQ(testing::permissionsOf(folder / "Settings.ini"), 0600u);

    ViewSettings reloaded;
    FoundAddressStore reloadedStore;
    SettingsFile(folder / "Settings.ini", console).LoadSettings(reloaded, reloadedStore);
    EXPECT_TRUE(reloaded.caseInsensitive);
    ASSERT_EQ(reloadedStore.size(), 1u);
    EXPECT_EQ(reloadedStore[0], (FoundAddress{false, "1J", "1Jenny", "5KJenny"}));
    EXPECT_TRUE(console.pieces.empty());
}

TEST(SettingsFile, KeepsWhatOthersWroteIntoTheFile) {
    TempFolder folder;
    const auto path = folder / "Settings.ini";
    testing::writeBytes(path,
                        "; mine\r\n[Settings]\r\nexternal_app=2\r\nextra=1\r\n[Else]\r\nk=v\r\n");
    RecordingConsole console;
    SettingsFile file(path, console);
    ViewSettings settings;
    FoundAddressStore store;
    file.LoadSettings(settings, store);
    EXPECT_EQ(settings.appIndex, 2);
    settings.appIndex = 0;
    ASSERT_TRUE(file.SaveSettings(settings, store, true));
    const std::string bytes = testing::readBytes(path);
    EXPECT_TRUE(bytes.starts_with("; mine\r\n[Settings]\r\nexternal_app=0\r\nextra=1\r\n"));
    EXPECT_NE(bytes.find("[Else]\r\nk=v\r\n"), std::string::npos);
}

TEST(SettingsFile, FailedSaveKeepsTheOldFileSaysSoOnceAndSavesTheKeysLater) {
    TempFolder folder;
    const auto path = folder / "Settings.ini";
    RecordingConsole console;
    SettingsFile file(path, console);
    ViewSettings settings;
    ASSERT_TRUE(file.SaveSettings(settings, storeOf(1), false));
    const std::string before = testing::readBytes(path);

    const FoundAddressStore big = storeOf(100);
    {
        testing::FileSizeLimit limit(before.size() + 100);
        EXPECT_FALSE(file.SaveSettings(settings, big, false));
        EXPECT_FALSE(file.SaveSettings(settings, big, true));
        EXPECT_FALSE(file.SaveSettings(settings, big, false));
    }
    EXPECT_EQ(testing::readBytes(path), before);
    ASSERT_EQ(console.pieces.size(), 1u);
    EXPECT_EQ(console.pieces[0].style, ConsoleStyle::Error);
    EXPECT_TRUE(console.pieces[0].text.starts_with("[ERROR] "));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    // The next save, an options-only one, still writes the addresses that could not be saved.
    EXPECT_TRUE(file.SaveSettings(settings, big, true));
    ViewSettings reloaded;
    FoundAddressStore reloadedStore;
    SettingsFile(path, console).LoadSettings(reloaded, reloadedStore);
    EXPECT_EQ(reloadedStore.size(), 100u);

    // Once a save worked, a new failure is told again.
    {
        testing::FileSizeLimit limit(100);
        EXPECT_FALSE(file.SaveSettings(settings, big, true));
    }
    EXPECT_EQ(console.pieces.size(), 2u);
}

TEST(SettingsFile, FileThatCannotBeReadIsNeverOverwritten) {
    TempFolder folder;
    const auto path = folder / "Settings.ini";
    std::filesystem::create_directory(path);
    testing::writeBytes(path / "inside", "kept");
    RecordingConsole console;
    SettingsFile file(path, console);
    ViewSettings settings;
    FoundAddressStore store;
    file.LoadSettings(settings, store);
    EXPECT_EQ(settings, ViewSettings{});
    EXPECT_FALSE(file.SaveSettings(settings, storeOf(2), false));
    EXPECT_FALSE(file.SaveSettings(settings, storeOf(2), true));
    EXPECT_EQ(testing::readBytes(path / "inside"), "kept");
    ASSERT_EQ(console.pieces.size(), 1u);
    EXPECT_EQ(console.pieces[0].style, ConsoleStyle::Error);
}

} // namespace
} // namespace tarwick
