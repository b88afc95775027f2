#include "core/settings/SettingsSaver.h"

#include "found/RecordingConsole.h"
#include "search/TempFolder.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

using testing::readBytes;

TEST(SettingsSaver, WritesTheLatestStateAndMakesAFailedSaveGood) {
    testing::TempFolder folder;
    const auto file = folder / "Settings.ini";
    testing::RecordingConsole console;
    // Messages come on the saver's thread; allFoundKeysSaved waits for it, so they can be read.
    SettingsSaver saver(file, console, [](std::function<void()> task) { task(); });
    ViewSettings settings;
    FoundAddressStore store;
    // Saves asked for faster than they are written: the file ends with the last state.
    for (int i = 0; i < 40; ++i) {
        store.AddFoundAddress(true, "1P", "1Addr" + std::to_string(i), "5K" + std::to_string(i));
        saver.SaveSettings(settings, store, false);
        saver.SaveSettings(settings, store, true); // does not turn the found save into less
    }
    EXPECT_TRUE(saver.allFoundKeysSaved());
    std::string saved = readBytes(file);
    EXPECT_NE(saved.find("BTC_KEY_PRIV_ENCON_39=5K39\r\n"), std::string::npos);

    // A save that fails keeps the old file whole, is told once, and the key waits for any
    // later save.
    for (int failure = 1; failure <= 2; ++failure) {
        const std::string key = "5KLate" + std::to_string(failure);
        store.AddFoundAddress(true, "1P", "1Late" + std::to_string(failure), key);
        {
            testing::FileSizeLimit limit(saved.size() + 10);
            saver.SaveSettings(settings, store, false);
            EXPECT_FALSE(saver.allFoundKeysSaved()); // each save runs: the second is not told
            saver.SaveSettings(settings, store, true);
            EXPECT_FALSE(saver.allFoundKeysSaved());
        }
        EXPECT_EQ(readBytes(file), saved);
        EXPECT_EQ(testing::entriesIn(folder.path()), 1);
        ASSERT_EQ(console.pieces.size(), static_cast<std::size_t>(failure))
            << "told again after a success";
        EXPECT_TRUE(
            console.pieces.back().text.starts_with("[ERROR] The settings could not be saved"));
        saver.SaveSettings(settings, store, true);
        EXPECT_TRUE(saver.allFoundKeysSaved());
        saved = readBytes(file);
        EXPECT_NE(saved.find("=" + key + "\r\n"), std::string::npos);
    }
}

} // namespace
} // namespace tarwick
