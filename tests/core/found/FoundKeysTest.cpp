#include "ValidKeys.h"
#include "core/found/AddressExport.h"
#include "core/found/FoundKeyScanner.h"
#include "core/found/PrivateFile.h"
#include "core/found/VerifyFoundKey.h"
#include "found/RecordingConsole.h"
#include "search/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tarwick {
namespace {

using testing::entriesIn;
using testing::kAb1;
using testing::readBytes;

std::string recordText(std::string p, std::string a, std::string k, std::string eol = "\n") {
    return "Pattern: " + p + eol + "Address: " + a + eol + "Privkey: " + k + eol;
}

TEST(FoundKeyRecords, ParsesTheResultsFile) {
    const FoundKeyRecord jenny{"1J", "1Ja", "5K"}, mary{"1M", "1Ma", "5L"};
    const std::string j = recordText("1J", "1Ja", "5K"),
                      crlf = recordText("1J", "1Ja", "5K", "\r\n");
    const std::pair<std::string, std::vector<FoundKeyRecord>> cases[] = {
        {j, {jenny}},
        {crlf, {jenny}},
        {"junk\n\nmore\n" + j, {jenny}},
        {j + recordText("1M", "1Ma", "5L"), {jenny, mary}},
        {j + j, {jenny, jenny}}, // the store drops the second
        // Labels in another case, or without their blank, are not labels.
        {"pattern: 1J\nAddress: 1Ja\nPrivkey: 5K\nPattern:1J\nAddress: 1Ja\nPrivkey: 5K\n", {}},
        {"Address: 1Ja\nPattern: 1J\nPrivkey: 5K\n", {}},
        {recordText("1J ", "1Ja\t", "5K  "), {{"1J ", "1Ja\t", "5K  "}}},
        // A label not at the start gives the text after it; a second pattern line starts again.
        {"  Pattern: 1J\n> Address: 1Ja\n\xEF\xBB\xBFPrivkey: 5K\n", {jenny}},
        {"Pattern: 1Old\n" + j, {jenny}},
        {recordText("1a Pattern: b", "1x", "5y"), {{"1a Pattern: b", "1x", "5y"}}}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseFoundKeyRecords(text), expected) << text;
    }
}

TEST(VerifyFoundKey, KeyMustGiveTheAddressOfASearchedPattern) {
    const std::string a(kAb1.address), k(kAb1.key);
    const SearchedPatterns ab{false, {"1Ab"}}, secretOne{false, {"1Bg", "1EHN"}};
    const std::tuple<SearchedPatterns, std::string, std::string, std::string,
                     std::optional<std::string>>
        cases[] = {
            {ab, "1Ab", a, k, std::nullopt},
            {ab, "1Ab", std::string(testing::kAbUncompressed.address),
             std::string(testing::kAbUncompressed.key), std::nullopt},
            // Secret 1, as published widely: an oracle independent of our generators.
            {secretOne, "1Bg", "1BgGZ9tcN4rm9KBzDn7KprQz87SZ26SAMH",
             "KwDiBf89QgGbjEhKnhXJuH7LrciVrZi3qYjgd9M7rFU73sVHnoWn", std::nullopt},
            {secretOne, "1EHN", "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm",
             "5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAnchuDf", std::nullopt},
            {ab, "1Ab", a, std::string(testing::kAb2.key),
             "the private key is not the key of this address"},
            {ab, "1Ab", a, k.substr(0, k.size() - 1) + "t", "the private key's checksum is wrong"},
            {ab, "1Ab", a, "11First", "the private key is not a WIF key"}, // too short
            {ab, "1Ab", a, std::string(61, '5'), "the private key is not a WIF key"},
            {ab, "1Ab", a, "5K0", "the private key is not a WIF key"}, // not Base58
            // Secret 1 for the test network; secret 0.
            {ab, "1Ab", a, "cMahea7zqjxrtgAbB7LSGbcQUr1uX1ojuat9jZodMN87JcbXMTcA",
             "the private key is not a WIF key"},
            {ab, "1Ab", a, "5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAbuatmU",
             "the private key is out of range"},
            {{false, {"1Cd"}}, "1Cd", a, k, "the address does not begin with the pattern 1Cd"},
            {{false, {"1ab"}}, "1ab", a, k, "the address does not begin with the pattern 1ab"},
            {{true, {"1AB"}}, "1ab", a, k, std::nullopt},
            {{false, {"1Cd"}}, "1Ab", a, k, "the pattern 1Ab was not searched by the run"}};
    for (const auto& [searched, pattern, address, key, failure] : cases) {
        EXPECT_EQ(whyFoundKeyFails({pattern, address, key}, &searched), failure) << key;
    }
    EXPECT_EQ(whyFoundKeyFails({"1Ab", a, k}, nullptr),
              "the patterns of the run that wrote it are unknown");
    SearchedPatterns read; // a kept patterns file without its case line is refused
    EXPECT_FALSE(parseRunPatternsFile("1Ab\n", read));
    EXPECT_EQ(patternsOfText("1Ab\r\r\n\r\nxyz\n1Cd"), (std::vector<std::string>{"1Ab", "1Cd"}));
}

TEST(FoundAddressStore, DuplicateIsDecidedByPublicAddressAlone) {
    FoundAddressStore store;
    for (int i = 0; i < 20000; ++i) { // large enough that a stale index would show
        ASSERT_TRUE(store.AddFoundAddress(false, "p", "1A" + std::to_string(i), "k"));
    }
    for (const auto& [address, added] :
         {std::pair{"1A7", false}, {"1a7", true}, {"1A7 ", true}, {"", true}}) {
        EXPECT_EQ(store.AddFoundAddress(true, "other", address, "other"), added) << address;
    }
    EXPECT_EQ(store[7], (FoundAddress{false, "p", "1A7", "k"}))
        << "a refused duplicate changes nothing";
    EXPECT_TRUE(store.remove(1) && !store.remove(store.size()));
    EXPECT_FALSE(store.AddFoundAddress(true, "p", "1A19999", "k2"));
    EXPECT_TRUE(store.AddFoundAddress(true, "p", "1A1", "k2"))
        << "a removed address goes to the end";
    EXPECT_EQ(store.indexOf("1A1"), 20002u);
    EXPECT_EQ(store.indexOf("1A1 "), std::nullopt);
}

struct CountedEvents : FoundKeyEvents {
    void SetScrollLockLight(bool on) override { lights += on; }
    void beep(int, int) override { ++beeps; }
    void foundAddressAdded(std::size_t) override {}
    int lights = 0, beeps = 0;
};

const SearchedPatterns kSearched{false, {"1Ab", "1Cd", "1Ef"}};

struct FoundKeyScannerTest : ::testing::Test {
    void append(const std::string& bytes) { std::ofstream(results, std::ios::app) << bytes; }

    testing::TempFolder folder;
    const std::filesystem::path results = folder / "results.txt";
    FoundAddressStore store;
    CountedEvents events;
    testing::RecordingConsole console;
    FoundKeyTarget target{store, {true, true}, events, console, &kSearched};
    FoundKeyScanner scanner{results};
};

TEST_F(FoundKeyScannerTest, RecordWrittenByteByByteIsTakenOnceWhenWholeAndTheFileIsLeftAsItIs) {
    const std::string junk = "junk\nmore junk\n", ab = kAb1.record();
    const std::string text = junk + ab + ab + testing::kCd.record("\n");
    EXPECT_FALSE(scanner.check(target));
    std::size_t firstSeenAt = 0;
    for (std::size_t length = 0; length < text.size(); ++length) {
        append(text.substr(length, 1));
        scanner.check(target);
        if (store.size() == 1 && firstSeenAt == 0) {
            firstSeenAt = length + 1;
        }
    }
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(firstSeenAt, junk.size() + ab.size());
    EXPECT_EQ(std::pair(events.lights, events.beeps), std::pair(2, 2)) << "once per new key";
    EXPECT_EQ(readBytes(results), text);
}

TEST_F(FoundKeyScannerTest, LaterPassesReadWhatIsNewAndAShorterOrRestartedFileWhole) {
    append(std::string(5000, 'j') + "\n" + std::string(1000, 'j') + "\n" + std::string(1000, 'j') +
           "\n");
    EXPECT_FALSE(scanner.check(target));
    EXPECT_EQ(scanner.offset(), 5001u) << "only the last two lines are read again";
    append(kAb1.record());
    EXPECT_TRUE(scanner.check(target));
    // A new run deleted the file; its generator's first record is shorter than the old file.
    std::filesystem::remove(results);
    append(testing::kCd.record("\n"));
    EXPECT_TRUE(scanner.check(target));
    // Replaced between two passes by a longer file: restart() makes the pass read it whole.
    std::filesystem::remove(results);
    append(std::string(9000, 'j') + "\n" + testing::kEf.record());
    scanner.restart();
    EXPECT_TRUE(scanner.check(target));
    EXPECT_EQ(store.size(), 3u);
}

TEST_F(FoundKeyScannerTest, RefusedRecordIsToldOnceAndKeepsTheFileUntilARestart) {
    // The address of kAb2 with its last letter changed: the key is not its key.
    const std::string refused =
        testing::ValidKey{"1Ab", "1AbCyDb866km1pRimFa2wj62sVZ9hGf58x", testing::kAb2.key}.record();
    append(refused + refused);
    EXPECT_FALSE(scanner.check(target));
    EXPECT_EQ(console.pieces.size(), 1u);
    EXPECT_TRUE(scanner.holdsRefusedKeys());
    scanner.restart();
    EXPECT_FALSE(scanner.holdsRefusedKeys());
}

TEST(PrivateFile, NewFileIsOwnerOnlyAndAReplacedOneKeepsAStricterMode) {
    const mode_t umask = ::umask(0); // the mode the writer chose, not one the umask narrowed
    for (const auto& [before, after] :
         {std::pair{-1, 0600u}, {0644, 0600u}, {0666, 0600u}, {0400, 0400u}, {0200, 0200u}}) {
        testing::TempFolder folder;
        if (before >= 0) {
            testing::writeBytes(folder / "Settings.ini", "old");
            std::filesystem::permissions(folder / "Settings.ini", std::filesystem::perms(before));
        }
        ASSERT_TRUE(writePrivateFile(folder / "Settings.ini", "new").ok());
        EXPECT_EQ(testing::modeOf(folder / "Settings.ini"), after) << before;
        EXPECT_EQ(readBytes(folder / "Settings.ini"), "new");
        EXPECT_EQ(entriesIn(folder.path()), 1);
    }
    ::umask(umask);
}

TEST(PrivateFile, FailedWriteLeavesTheOldFileWholeAndNoTemporary) {
    testing::TempFolder folder;
    testing::writeBytes(folder / "Settings.ini", "[Settings]\r\n");
    PrivateFileResult result;
    {
        testing::FileSizeLimit limit(100);
        result = writePrivateFile(folder / "Settings.ini", std::string(5000, 'x'));
    }
    EXPECT_EQ(result.status, PrivateFileStatus::Failed);
    EXPECT_EQ(result.error, std::errc::file_too_large);
    EXPECT_EQ(readBytes(folder / "Settings.ini"), "[Settings]\r\n");
    testing::writeBytes(folder / "folder" / "inside", "kept");
    EXPECT_EQ(writePrivateFile(folder / "folder", "x").status, PrivateFileStatus::Failed);
    EXPECT_EQ(readBytes(folder / "folder" / "inside"), "kept");
    EXPECT_EQ(entriesIn(folder.path()), 2);
}

TEST(AddressExport, FilesByteForByteReplacedWholeAndOnlyWithADataFolder) {
    testing::TempFolder folder;
    testing::RecordingConsole console;
    const FoundAddress jenny{true, "1Jenny", "1JennyQwRz", "5KJennyKey"};
    FoundAddressStore store;
    store.AddFoundAddress(false, "1A,b", "1Aaa", "5K\"a\"");
    EXPECT_EQ(ExportAddress(jenny, folder.path(), console), ExportStatus::NotSaved);
    EXPECT_EQ(ExportAllAddresses(store, folder.path(), console), ExportStatus::NotSaved);
    EXPECT_EQ(entriesIn(folder.path()), 0) << "no Data folder: nothing written, nothing said";
    EXPECT_TRUE(console.pieces.empty());

    const auto one = folder / "Data/Tarwick_1JennyQwRz.txt";
    const auto all = folder / "Data/Tarwick_Bitcoin_addresses_found.txt";
    const std::string csv =
        "Pattern,Bitcoin Public address,Bitcoin Private key\r\n1A,b,1Aaa,5K\"a\"\r\n";
    testing::writeBytes(one, "an older, longer export that must not survive in part\r\n");
    EXPECT_EQ(ExportAddress(jenny, folder.path(), console), ExportStatus::Saved);
    EXPECT_EQ(ExportAllAddresses(store, folder.path(), console), ExportStatus::Saved);
    EXPECT_EQ(ExportAllAddresses({}, folder.path(), console), ExportStatus::NotSaved);
    EXPECT_EQ(readBytes(one), "Pattern: 1Jenny\r\nBitcoin Public address: 1JennyQwRz\r\n"
                              "Bitcoin Private key: 5KJennyKey\r\n");
    EXPECT_EQ(readBytes(all), csv);
    EXPECT_EQ(
        console.pieces,
        (std::vector<testing::ConsolePiece>{
            {"Bitcoin address '1JennyQwRz' saved in\n'Data//Tarwick_1JennyQwRz.txt' file\n",
             ConsoleStyle::Heading},
            {"Bitcoin addresses found saved in 'Data//Tarwick_Bitcoin_addresses_found.txt' file\n",
             ConsoleStyle::Heading}}));

    store.AddFoundAddress(false, "1B", "1Bbb", "5Kb");
    {
        testing::FileSizeLimit limit(10);
        EXPECT_EQ(ExportAllAddresses(store, folder.path(), console), ExportStatus::Failed);
    }
    EXPECT_EQ(readBytes(all), csv);
    EXPECT_EQ(entriesIn(folder / "Data"), 2);
    EXPECT_TRUE(console.saysInRed("Bitcoin addresses found could not be saved"));
}

} // namespace
} // namespace tarwick
