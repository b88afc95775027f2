#include "core/found/AddressExport.h"

#include "RecordingConsole.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

using testing::ConsolePiece;
using testing::RecordingConsole;
using testing::TempFolder;

const FoundAddress kJenny{true, "1Jenny", "1JennyQwRz", "5KJennyKey"};

std::size_t entriesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(AddressExport, TextsByteForByte) {
    EXPECT_EQ(addressText(kJenny), "Pattern: 1Jenny\r\n"
                                   "Bitcoin Public address: 1JennyQwRz\r\n"
                                   "Bitcoin Private key: 5KJennyKey");
    EXPECT_EQ(addressFileText(kJenny), "Pattern: 1Jenny\r\n"
                                       "Bitcoin Public address: 1JennyQwRz\r\n"
                                       "Bitcoin Private key: 5KJennyKey\r\n");
    EXPECT_EQ(addressText({}), "Pattern: \r\nBitcoin Public address: \r\nBitcoin Private key: ");

    FoundAddressStore store;
    EXPECT_EQ(allAddressesFileText(store),
              "Pattern,Bitcoin Public address,Bitcoin Private key\r\n");
    store.AddFoundAddress(false, "1A,b", "1Aaa", "5K\"a\"");
    store.AddFoundAddress(true, "1B", "1Bbb", "5Kb,c");
    store.AddFoundAddress(true, "1C", "1Ccc", "5Kc");
    EXPECT_EQ(allAddressesFileText(store), "Pattern,Bitcoin Public address,Bitcoin Private key\r\n"
                                           "1A,b,1Aaa,5K\"a\"\r\n"
                                           "1B,1Bbb,5Kb,c\r\n"
                                           "1C,1Ccc,5Kc\r\n");

    EXPECT_EQ(addressFileName("1JennyQwRz"), "Data//Tarwick_1JennyQwRz.txt");
    EXPECT_EQ(addressFileName(""), "Data//Tarwick_.txt");
}

TEST(AddressExport, SingleAddressFileIsPrivateAndReplacedWhole) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "Data");
    RecordingConsole console;
    const auto file = folder / "Data/Tarwick_1JennyQwRz.txt";
    testing::writeBytes(file, "an older, longer export that must not survive in part\r\n");

    for (int time = 0; time < 2; ++time)
        EXPECT_EQ(ExportAddress(kJenny, folder.path(), console), ExportStatus::Saved);
    EXPECT_EQ(testing::readBytes(file), addressFileText(kJenny));
    EXPECT_EQ(testing::permissionsOf(file), 0600u);
    EXPECT_EQ(entriesIn(folder / "Data"), 1u);
    const ConsolePiece note{"Bitcoin address '1JennyQwRz' saved in\n'Data//Tarwick_1JennyQwRz.txt' "
                            "file\n",
                            ConsoleStyle::Heading, true};
    EXPECT_EQ(console.pieces, (std::vector<ConsolePiece>{note, note}));
}

TEST(AddressExport, EmptyAddressGivesTheBareName) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "Data");
    RecordingConsole console;
    EXPECT_EQ(ExportAddress({false, "1x", "", "5K"}, folder.path(), console), ExportStatus::Saved);
    EXPECT_TRUE(std::filesystem::exists(folder / "Data/Tarwick_.txt"));
}

TEST(AddressExport, WithoutDataFolderNothingIsWrittenOrSaid) {
    TempFolder folder;
    RecordingConsole console;
    EXPECT_EQ(ExportAddress(kJenny, folder.path(), console), ExportStatus::NotSaved);
    FoundAddressStore store;
    store.AddFoundAddress(false, "1A", "1Aaa", "5Ka");
    EXPECT_EQ(ExportAllAddresses(store, folder.path(), console), ExportStatus::NotSaved);
    EXPECT_EQ(entriesIn(folder.path()), 0u);
    EXPECT_TRUE(console.pieces.empty());
}

TEST(AddressExport, AddressThatWouldLeaveTheDataFolderIsRefused) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "Data");
    for (const char* address : {"../../evil", "a/b", "a\\b", "a\nb", "c:x"}) {
        RecordingConsole console;
        EXPECT_EQ(ExportAddress({false, "1", address, "5K"}, folder.path(), console),
                  ExportStatus::UnsafeAddress)
            << address;
        ASSERT_EQ(console.pieces.size(), 1u);
        EXPECT_EQ(console.pieces[0].style, ConsoleStyle::Error);
    }
    EXPECT_EQ(entriesIn(folder / "Data"), 0u);
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(AddressExport, AllAddressesFile) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "Data");
    RecordingConsole console;
    FoundAddressStore store;
    EXPECT_EQ(ExportAllAddresses(store, folder.path(), console), ExportStatus::NotSaved);
    EXPECT_EQ(entriesIn(folder / "Data"), 0u);

    store.AddFoundAddress(false, "1A", "1Aaa", "5Ka");
    store.AddFoundAddress(true, "1B", "1Bbb", "5Kb");
    store.AddFoundAddress(true, "1C", "1Ccc", "5Kc");
    EXPECT_EQ(ExportAllAddresses(store, folder.path(), console), ExportStatus::Saved);
    const auto file = folder / "Data/Tarwick_Bitcoin_addresses_found.txt";
    EXPECT_EQ(testing::readBytes(file), "Pattern,Bitcoin Public address,Bitcoin Private key\r\n"
                                        "1A,1Aaa,5Ka\r\n1B,1Bbb,5Kb\r\n1C,1Ccc,5Kc\r\n");
    EXPECT_EQ(testing::permissionsOf(file), 0600u);
    EXPECT_EQ(console.pieces,
              (std::vector<ConsolePiece>{{"Bitcoin addresses found saved in "
                                          "'Data//Tarwick_Bitcoin_addresses_found.txt' file\n",
                                          ConsoleStyle::Heading, true}}));
}

TEST(AddressExport, FailedWriteKeepsTheOlderFileAndSaysSoInRed) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "Data");
    const auto file = folder / "Data/Tarwick_Bitcoin_addresses_found.txt";
    const std::string older = "older export\r\n";
    testing::writeBytes(file, older);
    FoundAddressStore store;
    for (int i = 0; i < 200; ++i)
        store.AddFoundAddress(false, "1A", "1Addr" + std::to_string(i), std::string(51, 'K'));
    RecordingConsole console;
    {
        testing::FileSizeLimit limit(1024);
        EXPECT_EQ(ExportAllAddresses(store, folder.path(), console), ExportStatus::Failed);
    }
    EXPECT_EQ(testing::readBytes(file), older);
    EXPECT_EQ(entriesIn(folder / "Data"), 1u);
    ASSERT_EQ(console.pieces.size(), 1u);
    EXPECT_EQ(console.pieces[0].style, ConsoleStyle::Error);
    EXPECT_TRUE(console.pieces[0].text.starts_with("[ERROR] "));
}

} // namespace
} // namespace tarwick
