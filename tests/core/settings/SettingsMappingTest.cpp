#include "core/settings/SettingsMapping.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

// Settings.ini as the original program leaves it: options written on the first close, then
// the found-address section appended by the full save after two finds.
const std::string kOriginalFile = "[Settings]\r\n"
                                  "external_app=1\r\n"
                                  "opencl_device=7\r\n"
                                  "threads_cpu=3\r\n"
                                  "case_insensitive=0\r\n"
                                  "scrollLocl_light_on=1\r\n"
                                  "play_sound_found=0\r\n"
                                  "avoid_overheating=1\r\n"
                                  "select_edit_patt=1\r\n"
                                  "select_file_patt=0\r\n"
                                  "selected_file_patterns=C:\\vanity\\patterns.txt\r\n"
                                  "btc_reward=\r\n"
                                  "[Patterns_search]\r\n"
                                  "patterns=1Jenny-1Mary\r\n"
                                  "[BTCs_found]\r\n"
                                  "BTC_PATTERN_PUB_ENCON_0=1Jenny\r\n"
                                  "BTC_ADDR_PUB_ENCON_0=1JennyQwRzT\r\n"
                                  "BTC_KEY_PRIV_ENCON_0=5KJennyKey\r\n"
                                  "BTC_PATTERN_PUB_ENCON_1=1Mary\r\n"
                                  "BTC_ADDR_PUB_ENCON_1=1MaryAbCd\r\n"
                                  "BTC_KEY_PRIV_ENCON_1=5KMaryKey\r\n";

ViewSettings originalSettings() {
    ViewSettings s;
    s.appIndex = 1;
    s.openclIndex = 7;
    s.threadsIndex = 3;
    s.scrollLockLight = true;
    s.avoidOverheating = true;
    s.patternsFilePath = "C:\\vanity\\patterns.txt";
    s.savedPatterns = "1Jenny\r\n1Mary";
    return s;
}

FoundAddressStore originalStore() {
    FoundAddressStore store;
    store.AddFoundAddress(false, "1Jenny", "1JennyQwRzT", "5KJennyKey");
    store.AddFoundAddress(false, "1Mary", "1MaryAbCd", "5KMaryKey");
    return store;
}

struct Loaded {
    ViewSettings settings;
    FoundAddressStore store;
};

Loaded load(std::string_view bytes) {
    Loaded loaded;
    LoadSettings(ProfileFile::fromBytes(bytes), loaded.settings, loaded.store);
    return loaded;
}

std::string save(std::string_view bytes, const ViewSettings& settings,
                 const FoundAddressStore& store, bool optionsOnly) {
    ProfileFile profile = ProfileFile::fromBytes(bytes);
    SaveSettings(profile, settings, store, optionsOnly);
    return profile.toBytes();
}

TEST(Settings, WritesWhatTheOriginalProgramWrites) {
    const std::string afterClose = save("", originalSettings(), originalStore(), true);
    EXPECT_EQ(afterClose, kOriginalFile.substr(0, kOriginalFile.find("[BTCs_found]")));
    EXPECT_EQ(save(afterClose, originalSettings(), originalStore(), false), kOriginalFile);
}

TEST(Settings, OriginalFileRoundTripsByteForByte) {
    const Loaded loaded = load(kOriginalFile);
    EXPECT_EQ(loaded.settings, originalSettings());
    ASSERT_EQ(loaded.store.size(), 2u);
    EXPECT_EQ(loaded.store[1], (FoundAddress{false, "1Mary", "1MaryAbCd", "5KMaryKey"}));
    EXPECT_EQ(save(kOriginalFile, loaded.settings, loaded.store, false), kOriginalFile);
    EXPECT_EQ(save(kOriginalFile, loaded.settings, loaded.store, true), kOriginalFile);
}

TEST(Settings, MissingFileGivesTheDefaults) {
    const Loaded loaded = load("");
    EXPECT_EQ(loaded.settings, ViewSettings{});
    EXPECT_TRUE(loaded.settings.patternsFromBox);
    EXPECT_FALSE(loaded.settings.patternsFromFile);
    EXPECT_EQ(loaded.settings.appIndex, 0);
    EXPECT_TRUE(loaded.store.empty());
}

TEST(Settings, FlagsIndexesAndTexts) {
    struct Case {
        const char* what;
        std::string file;
        ViewSettings expected;
    };
    const auto with = [](auto change) {
        ViewSettings s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"file radio without the box key: both on", "[Settings]\r\nselect_file_patt=1\r\n",
         with([](ViewSettings& s) { s.patternsFromFile = true; })},
        {"box key 0", "[Settings]\r\nselect_edit_patt=0\r\n",
         with([](ViewSettings& s) { s.patternsFromBox = false; })},
        {"the lamp key as the program spells it", "[Settings]\r\nscrollLocl_light_on=1\r\n",
         with([](ViewSettings& s) { s.scrollLockLight = true; })},
        {"the lamp key spelled correctly is not the program's",
         "[Settings]\r\nscrollLock_light_on=1\r\n", ViewSettings{}},
        {"names are case-insensitive", "[settings]\r\nPLAY_SOUND_FOUND=1\r\nCase_Insensitive=5\r\n",
         with([](ViewSettings& s) { s.playSound = s.caseInsensitive = true; })},
        {"atoi: blanks, sign, trailing junk",
         "[Settings]\r\nexternal_app= -2x\r\nthreads_cpu=+15 t\r\n", with([](ViewSettings& s) {
             s.appIndex = -2;
             s.threadsIndex = 15;
         })},
        {"a malformed number reads as 0",
         "[Settings]\r\nopencl_device=abc\r\navoid_overheating=on\r\n", ViewSettings{}},
        {"an index out of any list is passed on", "[Settings]\r\nthreads_cpu=4096\r\n",
         with([](ViewSettings& s) { s.threadsIndex = 4096; })},
        {"texts", "[Settings]\r\nselected_file_patterns=/home/u/p.txt\r\nbtc_reward=1Reward\r\n",
         with([](ViewSettings& s) {
             s.patternsFilePath = "/home/u/p.txt";
             s.rewardAddress = "1Reward";
         })},
        {"every dash is a line break", "[Patterns_search]\r\npatterns=1Jen-ny-1Mary-\r\n",
         with([](ViewSettings& s) { s.savedPatterns = "1Jen\r\nny\r\n1Mary\r\n"; })},
        {"a value is read whole however long",
         "[Patterns_search]\r\npatterns=" + std::string(600, 'z') + "\r\n",
         with([](ViewSettings& s) { s.savedPatterns = std::string(600, 'z'); })},
    };
    for (const Case& c : cases)
        EXPECT_EQ(load(c.file).settings, c.expected) << c.what;
}

TEST(Settings, EmptyValueLeavesTheMemberAsItWas) {
    const std::string file =
        "[Settings]\r\nexternal_app=\r\nselect_edit_patt=\r\n"
        "selected_file_patterns=\r\nbtc_reward=\r\n[Patterns_search]\r\npatterns=\r\n";
    ViewSettings settings;
    settings.appIndex = 2;
    settings.patternsFromBox = false;
    settings.patternsFilePath = "kept";
    settings.rewardAddress = "replaced";
    settings.savedPatterns = "kept too";
    FoundAddressStore store;
    LoadSettings(ProfileFile::fromBytes(file), settings, store);
    EXPECT_EQ(settings.appIndex, 2);
    EXPECT_FALSE(settings.patternsFromBox);
    EXPECT_EQ(settings.patternsFilePath, "kept");
    EXPECT_EQ(settings.rewardAddress, "");
    EXPECT_EQ(settings.savedPatterns, "kept too");
    // A missing key, by contrast, gives its default.
    ViewSettings other;
    other.appIndex = 2;
    LoadSettings(ProfileFile::fromBytes(""), other, store);
    EXPECT_EQ(other.appIndex, 0);
}

TEST(Settings, AtoiIsTheCLibrarysWithoutOverflow) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {{"0", 0},
                          {"12", 12},
                          {"  7", 7},
                          {"\t-3", -3},
                          {"+4", 4},
                          {"1e5", 1},
                          {"- 1", 0},
                          {"", 0},
                          {"x1", 0},
                          {"2147483647", INT_MAX},
                          {"2147483648", INT_MAX},
                          {"99999999999999999999", INT_MAX},
                          {"-2147483648", INT_MIN},
                          {"-99999999999999999999", INT_MIN}};
    for (const Case& c : cases)
        EXPECT_EQ(atoiClamped(c.text), c.value) << c.text;
}

TEST(Settings, PatternsBoxEncoding) {
    struct Case {
        const char* box;
        const char* value;
    };
    const Case cases[] = {
        {"1Jenny\r\n1Mary\r\n", "1Jenny-1Mary"},
        {"  \r\n1Jenny\r\n\r\n1Mary \t\r\n ", "1Jenny--1Mary"},
        {"1Jenny\n1Mary\n", "1Jenny-1Mary"},
        {"1Jenny\r1Mary", "1Jenny-1Mary"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(encodePatterns(c.box), c.value) << c.box;
    EXPECT_EQ(decodePatterns("1Jenny-1Mary"), "1Jenny\r\n1Mary");
    // A dash typed inside a pattern comes back as a line break.
    EXPECT_EQ(decodePatterns(encodePatterns("1Jen-ny")), "1Jen\r\nny");

    ViewSettings settings;
    settings.savedPatterns = "1Jenny\r\n1Mary\r\n";
    const Loaded loaded = load(save("", settings, {}, true));
    EXPECT_EQ(loaded.settings.savedPatterns, "1Jenny\r\n1Mary");
}

TEST(Settings, SlotsReadUntilTheFirstEmptyPatternAndBeyondAGap) {
    const std::string file =
        "[BTCs_found]\r\n"
        "BTC_PATTERN_PUB_ENCON_0=1A\r\nBTC_ADDR_PUB_ENCON_0=1Aaa\r\nBTC_KEY_PRIV_ENCON_0=5Ka\r\n"
        "btc_pattern_pub_encon_1=1B\r\nBTC_ADDR_PUB_ENCON_1=1Bbb\r\nBTC_KEY_PRIV_ENCON_1=5Kb\r\n"
        "BTC_PATTERN_PUB_ENCON_3=1D\r\nBTC_ADDR_PUB_ENCON_3=1Ddd\r\nBTC_KEY_PRIV_ENCON_3=5Kd\r\n"
        "BTC_ADDR_PUB_ENCON_5=1Fff\r\nBTC_KEY_PRIV_ENCON_5=5Kf\r\n"
        "BTC_PATTERN_PUB_ENCON_4=1E\r\nBTC_ADDR_PUB_ENCON_4=1Eee\r\nBTC_KEY_PRIV_ENCON_4=5Ke\r\n"
        "BTC_KEY_PRIV_ENCON_07=not a slot of ours\r\n"
        "Other=kept\r\n";
    const Loaded loaded = load(file);
    ASSERT_EQ(loaded.store.size(), 5u);
    EXPECT_EQ(loaded.store[0], (FoundAddress{false, "1A", "1Aaa", "5Ka"}));
    EXPECT_EQ(loaded.store[1], (FoundAddress{false, "1B", "1Bbb", "5Kb"}));
    // No key in the file is dropped: slots after the gap follow in slot order.
    EXPECT_EQ(loaded.store[2], (FoundAddress{false, "1D", "1Ddd", "5Kd"}));
    EXPECT_EQ(loaded.store[3], (FoundAddress{false, "1E", "1Eee", "5Ke"}));
    EXPECT_EQ(loaded.store[4], (FoundAddress{false, "", "1Fff", "5Kf"}));

    // The next full save closes the gaps; unknown keys stay.
    const Loaded again = load(save(file, loaded.settings, loaded.store, false));
    EXPECT_EQ(again.store.records(), loaded.store.records());
    const ProfileFile saved =
        ProfileFile::fromBytes(save(file, loaded.settings, loaded.store, false));
    EXPECT_EQ(saved.value("BTCs_found", "BTC_ADDR_PUB_ENCON_2"), "1Ddd");
    EXPECT_EQ(saved.value("BTCs_found", "BTC_ADDR_PUB_ENCON_4"), "1Fff");
    EXPECT_EQ(saved.value("BTCs_found", "BTC_PATTERN_PUB_ENCON_5"), std::nullopt);
    EXPECT_EQ(saved.value("BTCs_found", "BTC_KEY_PRIV_ENCON_07"), "not a slot of ours");
    EXPECT_EQ(saved.value("BTCs_found", "Other"), "kept");
}

TEST(Settings, SlotWithoutAddressKeyLoadsWithAnEmptyAddress) {
    const Loaded loaded = load("[BTCs_found]\r\nBTC_PATTERN_PUB_ENCON_0=1A\r\n"
                               "BTC_PATTERN_PUB_ENCON_1=1B\r\nBTC_ADDR_PUB_ENCON_1=1B\r\n"
                               "BTC_PATTERN_PUB_ENCON_2=1A\r\nBTC_ADDR_PUB_ENCON_2=1B\r\n");
    ASSERT_EQ(loaded.store.size(), 2u);
    EXPECT_EQ(loaded.store[0], (FoundAddress{false, "1A", "", ""}));
    EXPECT_EQ(loaded.store[1], (FoundAddress{false, "1B", "1B", ""}));
}

TEST(Settings, FullSaveRemovesStaleSlotsAndOptionsLeaveThemAlone) {
    FoundAddressStore five;
    for (const char* a : {"1A", "1B", "1C", "1D", "1E"})
        five.AddFoundAddress(false, "p", a, std::string("5K") + a);
    const std::string withFive = save("", {}, five, false);

    FoundAddressStore two = five;
    for (int i = 0; i < 3; ++i)
        two.remove(0);
    const std::string withTwo = save(withFive, {}, two, false);
    EXPECT_EQ(load(withTwo).store.records(), two.records());
    EXPECT_EQ(withTwo.find("ENCON_2"), std::string::npos);
    EXPECT_EQ(withTwo.find("ENCON_4"), std::string::npos);

    const std::string emptied = save(withFive, {}, {}, false);
    EXPECT_EQ(emptied.find("ENCON"), std::string::npos);
    EXPECT_NE(emptied.find("[BTCs_found]\r\n"), std::string::npos);

    // Options only: the found section stays exactly as it was, whatever the store holds.
    ViewSettings toggled;
    toggled.playSound = true;
    const std::string optionsSaved = save(withFive, toggled, two, true);
    const auto section = [](const std::string& bytes) {
        const std::size_t start = bytes.find("[BTCs_found]");
        return bytes.substr(start, bytes.find('[', start + 1) - start);
    };
    EXPECT_EQ(section(optionsSaved), section(withFive));
    EXPECT_NE(optionsSaved, withFive);
}

TEST(Settings, EveryFoundAddressIsSavedNotOnlyTheFirst512) {
    FoundAddressStore store;
    for (int i = 0; i < 600; ++i)
        store.AddFoundAddress(true, "1P" + std::to_string(i), "1Addr" + std::to_string(i),
                              "5K" + std::string(49, static_cast<char>('a' + i % 26)));
    const Loaded loaded = load(save("", {}, store, false));
    ASSERT_EQ(loaded.store.size(), 600u);
    for (std::size_t i = 0; i < 600; ++i) {
        EXPECT_EQ(loaded.store[i].publicAddress, store[i].publicAddress);
        EXPECT_EQ(loaded.store[i].privateKey, store[i].privateKey);
        EXPECT_FALSE(loaded.store[i].isNew);
    }
}

TEST(Settings, ValuesComeBackExactly) {
    FoundAddressStore store;
    store.AddFoundAddress(true, " 1Lead", "1Addr\"", "5Ktrailing  ");
    store.AddFoundAddress(true, "\"1Q\"", "1Second", "5K\xE9");
    store.AddFoundAddress(true, "1Break", "1Third", "5K\rx");
    ViewSettings settings;
    settings.appIndex = -1;
    settings.rewardAddress = "'1Reward'";
    settings.patternsFilePath = "/p with spaces/x.txt ";
    const std::string bytes = save("", settings, store, false);
    EXPECT_NE(bytes.find("external_app=-1\r\n"), std::string::npos);
    const Loaded loaded = load(bytes);
    ASSERT_EQ(loaded.store.size(), 3u);
    EXPECT_EQ(loaded.store[0].pattern, " 1Lead");
    EXPECT_EQ(loaded.store[0].publicAddress, "1Addr\"");
    EXPECT_EQ(loaded.store[0].privateKey, "5Ktrailing  ");
    EXPECT_EQ(loaded.store[1].pattern, "\"1Q\"");
    EXPECT_EQ(loaded.store[1].privateKey, "5K\xE9");
    // A line break cannot live in a profile line; the slot is still written.
    EXPECT_EQ(loaded.store[2].privateKey, "5K x");
    EXPECT_EQ(loaded.settings.appIndex, -1);
    EXPECT_EQ(loaded.settings.rewardAddress, "'1Reward'");
    EXPECT_EQ(loaded.settings.patternsFilePath, "/p with spaces/x.txt ");
}

} // namespace
} // namespace tarwick

namespace tarwick {
namespace {

TEST(Settings, PoolUrlIsReadButNeverWritten) {
    EXPECT_EQ(load("").settings.poolUrl, "https://vanitypool.appspot.com/");
    const std::string withPool = "[Settings]\r\npool_url=http://127.0.0.1:8080/\r\n";
    const Loaded loaded = load(withPool);
    EXPECT_EQ(loaded.settings.poolUrl, "http://127.0.0.1:8080/");
    // A save keeps the user's key as it stands and adds none where there was none.
    EXPECT_NE(save(withPool, loaded.settings, loaded.store, true)
                  .find("pool_url=http://127.0.0.1:8080/\r\n"),
              std::string::npos);
    EXPECT_EQ(save("", ViewSettings{}, FoundAddressStore{}, true).find("pool_url"),
              std::string::npos);
}

} // namespace
} // namespace tarwick
