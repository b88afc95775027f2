#include "core/found/AddressExport.h"
#include "core/found/PrivateFile.h"
#include "found/RecordingConsole.h"
#include "search/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tarwick {
namespace {

using testing::entriesIn;
using testing::readBytes;

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
    // A folder in the way is left alone.
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

    // A write that fails keeps the older file and says so in red.
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
