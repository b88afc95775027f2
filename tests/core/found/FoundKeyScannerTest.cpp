#include "core/found/FoundKeyScanner.h"

#include "TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tarwick {
namespace {

struct Silent : FoundKeyEvents, ConsoleSink {
    void SetScrollLockLight(bool) override {}
    void beep(int, int) override {}
    void foundAddressAdded(std::size_t) override {}
    void append(std::string_view, ConsoleStyle, bool) override {}
    void clear() override {}
};

void append(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

const std::string kRecord = "Pattern: 1Ab\r\nAddress: 1AbFirst\r\nPrivkey: 5KFirst\r\n";

TEST(FoundKeyScanner, RecordWrittenByteByByteIsTakenOnceWhenWhole) {
    testing::TempFolder folder;
    const auto results = folder / "results.txt";
    const std::string text = "junk\nmore junk\n" + kRecord + kRecord +
                             "Pattern: 1Cd\nAddress: 1CdSecond\nPrivkey: 5KSecond\n";
    FoundAddressStore store;
    Silent silent;
    FoundKeyTarget target{store, {}, silent, silent};
    FoundKeyScanner scanner(results);
    std::size_t firstSeenAt = 0;
    for (std::size_t length = 0; length < text.size(); ++length) {
        append(results, text.substr(length, 1));
        scanner.check(target);
        if (store.size() == 1 && firstSeenAt == 0)
            firstSeenAt = length + 1;
    }
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(firstSeenAt, std::string("junk\nmore junk\n").size() + kRecord.size());
    EXPECT_EQ(store[1].privateKey, "5KSecond");
}

TEST(FoundKeyScanner, LaterPassesReadOnlyWhatIsNew) {
    testing::TempFolder folder;
    const auto results = folder / "results.txt";
    const std::string junkLine(1000, 'x');
    {
        std::ofstream out(results, std::ios::binary);
        for (int i = 0; i < 20'000; ++i)
            out << junkLine << '\n';
    }
    FoundAddressStore store;
    Silent silent;
    FoundKeyTarget target{store, {}, silent, silent};
    FoundKeyScanner scanner(results);
    EXPECT_FALSE(scanner.check(target));
    const std::uintmax_t size = std::filesystem::file_size(results);
    // Only the last two lines are kept for the next pass.
    EXPECT_EQ(scanner.offset(), size - 2 * (junkLine.size() + 1));
    append(results, kRecord);
    EXPECT_TRUE(scanner.check(target));
    EXPECT_EQ(store.size(), 1u);
}

TEST(FoundKeyScanner, ShorterOrRestartedFileIsReadFromItsStart) {
    testing::TempFolder folder;
    const auto results = folder / "results.txt";
    FoundAddressStore store;
    Silent silent;
    FoundKeyTarget target{store, {}, silent, silent};
    FoundKeyScanner scanner(results);
    append(results, std::string(5000, 'j') + "\n" + kRecord);
    EXPECT_TRUE(scanner.check(target));

    // A new run deleted the file; its generator's first record is shorter than the old file.
    std::filesystem::remove(results);
    EXPECT_FALSE(scanner.check(target));
    append(results, "Pattern: 1Cd\nAddress: 1CdNew\nPrivkey: 5KNew\n");
    EXPECT_TRUE(scanner.check(target));
    EXPECT_EQ(store.size(), 2u);

    // Replaced between two passes by a longer file: restart() makes the pass read it whole.
    std::filesystem::remove(results);
    append(results, std::string(9000, 'j') + "\nPattern: 1Ef\nAddress: 1EfNew\nPrivkey: 5KEf\n");
    scanner.restart();
    EXPECT_TRUE(scanner.check(target));
    EXPECT_EQ(store.size(), 3u);
}

} // namespace
} // namespace tarwick
