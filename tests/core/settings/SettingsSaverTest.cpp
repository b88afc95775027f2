#include "core/settings/SettingsSaver.h"

#include "../found/RecordingConsole.h"
#include "../found/TempFolder.h"
#include "core/settings/Preferences.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tarwick {
namespace {

using testing::RecordingConsole;
using testing::TempFolder;

std::string textOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SettingsSaver, WritesTheLatestStateAndSaysWhenEveryKeyIsOnDisk) {
    TempFolder folder;
    const auto file = folder / "Settings.ini";
    RecordingConsole console;
    // Messages come on the saver's thread; allFoundKeysSaved waits for it, so they can be read.
    SettingsSaver saver(file, console, [](std::function<void()> task) { task(); });
    ViewSettings settings;
    FoundAddressStore store;
    saver.LoadSettings(settings, store);
    EXPECT_TRUE(saver.allFoundKeysSaved());

    // Saves asked for faster than they are written: the file ends with the last state.
    for (int i = 0; i < 40; ++i) {
        store.AddFoundAddress(true, "1P", "1Addr" + std::to_string(i), "5K" + std::to_string(i));
        saver.SaveSettings(settings, store, false);
        saver.SaveSettings(settings, store, true); // does not turn the found save into less
    }
    EXPECT_TRUE(saver.allFoundKeysSaved());
    EXPECT_NE(textOf(file).find("BTC_KEY_PRIV_ENCON_39=5K39\r\n"), std::string::npos);

    // A key that cannot be written is reported unsaved until a later save, of any kind, writes it.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    store.AddFoundAddress(true, "1P", "1Late", "5KLate");
    saver.SaveSettings(settings, store, false);
    saver.SaveSettings(settings, store, true);
    EXPECT_FALSE(saver.allFoundKeysSaved());
    EXPECT_EQ(console.pieces.size(), 1u); // told once
    std::filesystem::remove(file);
    saver.SaveSettings(settings, store, true);
    EXPECT_TRUE(saver.allFoundKeysSaved());
    EXPECT_NE(textOf(file).find("=5KLate\r\n"), std::string::npos);
}

TEST(Preferences, AChoiceIsSavedAndAnnouncedATypedTextWaitsForTheNextSave) {
    TempFolder folder;
    const auto file = folder / "Settings.ini";
    RecordingConsole console;
    FoundAddressStore store;
    Preferences preferences(
        std::make_unique<SettingsSaver>(file, console, [](std::function<void()> t) { t(); }),
        store);
    int announced = 0;
    preferences.onChanged([&announced] { ++announced; });
    preferences.keep(&ViewSettings::rewardAddress, std::string("1Typed"));
    preferences.allFoundKeysSaved();
    EXPECT_FALSE(std::filesystem::exists(file));
    preferences.toggle(&ViewSettings::playSound);
    preferences.allFoundKeysSaved();
    EXPECT_NE(textOf(file).find("play_sound_found=1\r\n"), std::string::npos);
    EXPECT_NE(textOf(file).find("btc_reward=1Typed\r\n"), std::string::npos);
    EXPECT_EQ(announced, 1);
}

} // namespace
} // namespace tarwick
