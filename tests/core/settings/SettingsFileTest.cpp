#include "core/settings/SettingsFile.h"

#include "../found/RecordingConsole.h"
#include "../found/TempFolder.h"

#include <gtest/gtest.h>

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

TEST(SettingsFile, SaveKeepsWhatOthersWroteIntoTheFile) {
    TempFolder folder;
    const auto path = folder / "Settings.ini";
    RecordingConsole console;
    ViewSettings settings;
    FoundAddressStore store;
    SettingsFile(path, console).LoadSettings(settings, store);
    EXPECT_FALSE(std::filesystem::exists(path)); // a missing file is not created by loading

    testing::writeBytes(path,
                        "; mine\r\n[Settings]\r\nexternal_app=2\r\nextra=1\r\n[Else]\r\nk=v\r\n");
    SettingsFile file(path, console);
    file.LoadSettings(settings, store);
    EXPECT_EQ(settings.appIndex, 2);
    settings.appIndex = 0;
    store.AddFoundAddress(true, "1J", "1Jenny", "5KJenny");
    ASSERT_TRUE(file.SaveSettings(settings, store, false));
    const std::string bytes = testing::readBytes(path);
    EXPECT_TRUE(bytes.starts_with("; mine\r\n[Settings]\r\nexternal_app=0\r\nextra=1\r\n"));
    EXPECT_NE(bytes.find("[Else]\r\nk=v\r\n"), std::string::npos);
    FoundAddressStore reloaded;
    SettingsFile(path, console).LoadSettings(settings, reloaded);
    EXPECT_EQ(reloaded.records(), (std::vector<FoundAddress>{{false, "1J", "1Jenny", "5KJenny"}}));
    EXPECT_TRUE(console.pieces.empty());
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
    EXPECT_TRUE(console.pieces[0].text.starts_with("[ERROR] "));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    // The next save, an options-only one, still writes the addresses that could not be saved.
    EXPECT_TRUE(file.SaveSettings(settings, big, true));
    FoundAddressStore reloaded;
    SettingsFile(path, console).LoadSettings(settings, reloaded);
    EXPECT_EQ(reloaded.size(), 100u);

    // Once a save worked, a new failure is told again.
    {
        testing::FileSizeLimit limit(100);
        EXPECT_FALSE(file.SaveSettings(settings, big, true));
    }
    EXPECT_EQ(console.pieces.size(), 2u);
}

} // namespace
} // namespace tarwick
