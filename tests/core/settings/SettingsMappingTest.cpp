#include "core/settings/SettingsMapping.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

// The default settings with some members changed.
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
    for (const auto& [text, value] : {std::pair{"", 0},
                                      {"  7", 7},
                                      {"\t-3", -3},
                                      {"+4", 4},
                                      {"1e5", 1},
                                      {"- 1", 0},
                                      {"x1", 0},
                                      {"2147483648", INT_MAX},
                                      {"-2147483649", INT_MIN}}) {
        EXPECT_EQ(atoiClamped(text), value) << text;
    }
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

} // namespace
} // namespace tarwick
