#include "core/settings/ProfileFile.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsMapping.h"
#include "core/settings/SettingsSaver.h"
#include "found/RecordingConsole.h"
#include "search/TempFolder.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

using testing::readBytes;

using Row = std::tuple<const char*, const char*, std::optional<std::string>>;

TEST(ProfileFile, ReadsAsWindowsDoes) {
    const ProfileFile file = ProfileFile::fromBytes(
        "orphan=before any section\r\n[Settings]\r\nplain=1\r\n  spaced  =   two words  \t\r\n"
        "quoted=\"q v\"\r\nsingle='s'\r\nhalf=\"open\r\nonequote=\"\r\nempty=\r\ndup=first\r\n"
        "dup=second\r\n; comment=not a key\r\nno equals sign\r\nequals=a=b\r\nhigh=caf\xE9\xFF\r\n"
        "[ Other ]\nlf=only\n[settings]\r\nlast=no line end");
    // Each key of [Settings] as read, "-" for none; the last is in a repeated section, not read.
    std::string read;
    for (const char* key :
         {"plain", "spaced", "quoted", "single", "half", "onequote", "empty", "dup", "; comment",
          "no equals sign", "equals", "high", "orphan", "last"}) {
        read += file.value("Settings", key).value_or("-") + "|";
    }
    EXPECT_EQ(read, "1|two words|q v|s|\"open|\"||first|-|-|a=b|caf\xE9\xFF|-|-|");
    for (const auto& [section, key, expected] : {Row{"SETTINGS", "PLAIN", "1"},
                                                 {" Settings ", " plain ", "1"},
                                                 {"Other", "lf", "only"},
                                                 {"Missing", "plain", {}}}) {
        EXPECT_EQ(file.value(section, key), expected) << section << "/" << key;
    }
    EXPECT_EQ(file.valueOr("Settings", "missing", "fallback"), "fallback");
    EXPECT_EQ(file.valueOr("Settings", "empty", "fallback"), "");
}

struct Write {
    std::string section, key;
    std::optional<std::string_view> value;
};

TEST(ProfileFile, WritesAsWindowsDoes) {
    const std::tuple<std::string, std::vector<Write>, std::string> cases[] = {
        {"",
         {{"S", "a", "1"}, {"S", "e", ""}, {"S", "k", "\xE9\xA3\x80"}},
         "[S]\r\na=1\r\ne=\r\nk=\xE9\xA3\x80\r\n"},
        // Removing what is not there changes nothing, byte for byte.
        {"[S]\r\n\r\na=1\n", {{"Missing", "gone", {}}, {"S", "gone", {}}}, "[S]\r\n\r\na=1\n"},
        // A new key goes after the section's last comment, before its blank lines.
        {"[S]\r\na=1\r\n;note\r\n\r\n[T]\r\n",
         {{"S", "b", "2"}},
         "[S]\r\na=1\r\n;note\r\nb=2\r\n\r\n[T]\r\n"},
        // An unterminated last line is ended first; a new section goes to the end of the file.
        {"[S]\r\na=1", {{"T", "k", "v"}, {"S", "b", "2"}}, "[S]\r\na=1\r\nb=2\r\n[T]\r\nk=v\r\n"},
        {"[S]", {{"S", "b", "2"}}, "[S]\r\nb=2\r\n"},
        {"[S]\r\na=1", {{"S", "a", "9"}}, "[S]\r\na=9"},
        {"[S]\na=1\nb=2\n", {{"s", "A", "3"}, {"S", "c", "4"}}, "[S]\na=3\nb=2\nc=4\r\n"},
        {"[S]\r\na=1\r\nA=2\r\n[T]\r\n", {{"S", "a", {}}}, "[S]\r\n[T]\r\n"}, // every copy
        {"[S]\r\na=1\r\nb=2\r\n", {{"S", "a", {}}, {"S", "a", "3"}}, "[S]\r\nb=2\r\na=3\r\n"},
        // Outer matching quotes are kept by quoting (outer blanks too: the fuzz target reads back).
        {"", {{"S", "q", "\"q\""}, {"S", "m", "\"a'"}}, "[S]\r\nq=\"\"q\"\"\r\nm=\"a'\r\n"}};
    for (const auto& [before, writes, after] : cases) {
        ProfileFile file = ProfileFile::fromBytes(before);
        for (const Write& w : writes) {
            EXPECT_TRUE(file.write(w.section, w.key, w.value));
        }
        EXPECT_EQ(file.toBytes(), after) << before;
    }
}

TEST(ProfileFile, RefusesWhatALineCannotHold) {
    // Writes that would not read back at all; the fuzz target reads back every accepted one.
    const Write refused[] = {{"S", "", "1"}, {"", "a", "1"}, {"S]", "a", "1"}};
    for (const Write& w : refused) {
        ProfileFile file = ProfileFile::fromBytes("[S]\r\na=1\r\n");
        EXPECT_FALSE(file.write(w.section, w.key, *w.value)) << w.section << "/" << w.key;
        EXPECT_EQ(file.toBytes(), "[S]\r\na=1\r\n");
    }
}

template <typename Change>
ViewSettings with(Change change) {
    ViewSettings s;
    change(s);
    return s;
}

struct Loaded {
    ViewSettings settings;
    FoundAddressStore store;
};

Loaded load(std::string_view bytes, ViewSettings settings = {}) {
    Loaded loaded{std::move(settings), {}};
    LoadSettings(ProfileFile::fromBytes(bytes), loaded.settings, loaded.store);
    return loaded;
}

std::string save(std::string_view bytes, const ViewSettings& settings,
                 const FoundAddressStore& store, bool optionsOnly) {
    ProfileFile profile = ProfileFile::fromBytes(bytes);
    SaveSettings(profile, settings, store, optionsOnly);
    return profile.toBytes();
}

TEST(Settings, FlagsIndexesAndTexts) {
    const std::pair<std::string, ViewSettings> cases[] = {
        {"", {}},
        // The file radio without the box key: both on.
        {"[Settings]\r\nselect_file_patt=1\r\n", with([](auto& s) { s.patternsFromFile = true; })},
        {"[Settings]\r\nselect_edit_patt=0\r\n", with([](auto& s) { s.patternsFromBox = false; })},
        // The lamp key as the program spells it; the correct spelling is not the program's.
        {"[Settings]\r\nscrollLocl_light_on=1\r\n",
         with([](auto& s) { s.scrollLockLight = true; })},
        {"[Settings]\r\nscrollLock_light_on=1\r\n", {}},
        {"[settings]\r\nPLAY_SOUND_FOUND=1\r\nCase_Insensitive=5\r\nselected_file_patterns=p\r\n",
         with([](auto& s) { s.caseInsensitive = s.playSound = true, s.patternsFilePath = "p"; })},
        // Numbers are read with atoi.
        {"[Settings]\r\nexternal_app= -2x\r\navoid_overheating=on\r\n",
         with([](auto& s) { s.appIndex = -2; })}};
    for (const auto& [file, expected] : cases) {
        EXPECT_EQ(load(file).settings, expected) << file;
    }
    // An empty value leaves the member as it was, but for the reward address.
    const ViewSettings before = with([](auto& s) {
        s.appIndex = 2, s.patternsFromBox = false, s.patternsFilePath = "kept";
        s.rewardAddress = "replaced", s.savedPatterns = "kept too";
    });
    ViewSettings expected = before;
    expected.rewardAddress = "";
    EXPECT_EQ(load("[Settings]\r\nexternal_app=\r\nselect_edit_patt=\r\nselected_file_patterns=\r\n"
                   "btc_reward=\r\n[Patterns_search]\r\npatterns=\r\n",
                   before)
                  .settings,
              expected);
}

TEST(Settings, AtoiAndPatternsEncoding) {
    std::string values;
    for (const char* text :
         {"", "  7", "\t-3", "+4", "1e5", "- 1", "x1", "2147483648", "-2147483649"}) {
        values += std::to_string(atoiClamped(text)) + " ";
    }
    EXPECT_EQ(values, "0 7 -3 4 1 0 0 2147483647 -2147483648 "); // clamped to int
    EXPECT_EQ(encodePatterns("  \r\n1Jenny\r\n\r\n1Mary \t\r\n "), "1Jenny--1Mary");
    EXPECT_EQ(encodePatterns(std::string("1A\n1B\r1C\0", 9) + "1Jen-ny"), "1A-1B-1C-1Jen-ny");
}

TEST(Settings, SlotsReadUntilTheFirstEmptyPatternAndBeyondAGap) {
    const std::string file =
        "[BTCs_found]\r\n"
        "BTC_PATTERN_PUB_ENCON_0=1A\r\nBTC_ADDR_PUB_ENCON_0=1Aaa\r\nBTC_KEY_PRIV_ENCON_0=5Ka\r\n"
        "btc_pattern_pub_encon_1=1B\r\nBTC_ADDR_PUB_ENCON_1=1Bbb\r\nBTC_KEY_PRIV_ENCON_1=5Kb\r\n"
        "BTC_PATTERN_PUB_ENCON_3=1D\r\nBTC_ADDR_PUB_ENCON_3=1Ddd\r\nBTC_KEY_PRIV_ENCON_3=5Kd\r\n"
        "BTC_ADDR_PUB_ENCON_5=1Fff\r\nBTC_KEY_PRIV_ENCON_5=5Kf\r\n"
        "BTC_PATTERN_PUB_ENCON_4=1E\r\nBTC_ADDR_PUB_ENCON_4=1Eee\r\nBTC_KEY_PRIV_ENCON_4=5Ke\r\n"
        "BTC_KEY_PRIV_ENCON_07=not a slot\r\nBTC_KEY_PRIV_ENCON_1x=nor this\r\nOther=kept\r\n";
    const Loaded loaded = load(file);
    // No key in the file is dropped: slots after the gap follow in slot order.
    EXPECT_EQ(loaded.store.records(), (std::vector<FoundAddress>{{false, "1A", "1Aaa", "5Ka"},
                                                                 {false, "1B", "1Bbb", "5Kb"},
                                                                 {false, "1D", "1Ddd", "5Kd"},
                                                                 {false, "1E", "1Eee", "5Ke"},
                                                                 {false, "", "1Fff", "5Kf"}}));
    // A full save closes the gaps and drops removed addresses; an options-only save leaves them.
    const std::string saved = save(file, {}, loaded.store, false);
    EXPECT_EQ(saved.find("ENCON_5"), std::string::npos);
    EXPECT_NE(saved.find(file.substr(file.find("BTC_KEY_PRIV_ENCON_07"))), std::string::npos);
    EXPECT_EQ(load(save(saved, {}, {}, true)).store.records(), loaded.store.records());
    EXPECT_EQ(save(saved, {}, {}, false).find("ENCON_0="), std::string::npos);
    // A slot without an address key loads with an empty address.
    EXPECT_EQ(load("[BTCs_found]\r\nBTC_PATTERN_PUB_ENCON_0=1A\r\n").store[0],
              (FoundAddress{false, "1A", "", ""}));
}

TEST(SettingsFile, OneThatOpensButFailsToReadIsNeverOverwritten) {
    testing::RecordingConsole console;
    SettingsFile file("/proc/self/mem", console); // EIO at its start, for root too
    ViewSettings settings;
    FoundAddressStore store;
    file.LoadSettings(settings, store);
    EXPECT_FALSE(file.SaveSettings(settings, store, false));
    EXPECT_TRUE(console.pieces.at(0).text.starts_with("[ERROR] 'mem' could not be read"));
}

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

    // A failed save keeps the old file whole, is told once, and its key waits for a later save.
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
