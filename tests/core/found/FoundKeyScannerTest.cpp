#include "core/found/FoundKeyScanner.h"

#include "TempFolder.h"
#include "ValidKeys.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tarwick {
namespace {

struct Silent : FoundKeyEvents, ConsoleSink {
    void SetScrollLockLight(bool) override {}
    void beep(int, int) override {}
    void foundAddressAdded(std::size_t) override {}
    void append(std::string_view text, ConsoleStyle, bool) override { lines.emplace_back(text); }
    void clear() override {}
    std::vector<std::string> lines;
};

const SearchedPatterns kSearched{false, {"1Ab", "1Cd", "1Ef"}};

void append(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

const std::string kRecord = testing::kAb1.record();

TEST(FoundKeyScanner, RecordWrittenByteByByteIsTakenOnceWhenWhole) {
    testing::TempFolder folder;
    const auto results = folder / "results.txt";
    const std::string text = "junk\nmore junk\n" + kRecord + kRecord + testing::kCd.record("\n");
    FoundAddressStore store;
    Silent silent;
    FoundKeyTarget target{store, {}, silent, silent, &kSearched};
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
    EXPECT_EQ(store[1].privateKey, testing::kCd.key);
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
    FoundKeyTarget target{store, {}, silent, silent, &kSearched};
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
    FoundKeyTarget target{store, {}, silent, silent, &kSearched};
    FoundKeyScanner scanner(results);
    append(results, std::string(5000, 'j') + "\n" + kRecord);
    EXPECT_TRUE(scanner.check(target));

    // A new run deleted the file; its generator's first record is shorter than the old file.
    std::filesystem::remove(results);
    EXPECT_FALSE(scanner.check(target));
    append(results, testing::kCd.record("\n"));
    EXPECT_TRUE(scanner.check(target));
    EXPECT_EQ(store.size(), 2u);

    // Replaced between two passes by a longer file: restart() makes the pass read it whole.
    std::filesystem::remove(results);
    append(results, std::string(9000, 'j') + "\n" + testing::kEf.record());
    scanner.restart();
    EXPECT_TRUE(scanner.check(target));
    EXPECT_EQ(store.size(), 3u);
}

TEST(FoundKeyScanner, RefusedRecordIsToldOnceAndKeepsTheFileUntilARestart) {
    testing::TempFolder folder;
    const auto results = folder / "results.txt";
    FoundAddressStore store;
    Silent silent;
    FoundKeyTarget target{store, {}, silent, silent, &kSearched};
    FoundKeyScanner scanner(results);
    // The address of kAb2 with its last letter changed: the key is not its key.
    const testing::ValidKey wrong{"1Ab", "1AbCyDb866km1pRimFa2wj62sVZ9hGf58x", testing::kAb2.key};
    append(results, wrong.record());
    EXPECT_FALSE(scanner.check(target));
    EXPECT_FALSE(scanner.check(target));
    EXPECT_TRUE(store.empty());
    ASSERT_EQ(silent.lines.size(), 1u);
    EXPECT_TRUE(scanner.holdsRefusedKeys());
    scanner.restart();
    EXPECT_FALSE(scanner.holdsRefusedKeys());
}

} // namespace
} // namespace tarwick
