#include "core/found/CheckFoundKeys.h"

#include "RecordingConsole.h"
#include "TempFolder.h"
#include "ValidKeys.h"
#include "core/found/FoundKeyScanner.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarwick {
namespace {

using testing::ConsolePiece;
using testing::RecordingConsole;

// Logs the lamp, beep and row events, and the console pieces, into one sequence so that the
// order of a report is checked as a whole.
class Recorder : public FoundKeyEvents, public ConsoleSink {
public:
    void SetScrollLockLight(bool on) override { log.push_back(on ? "lamp on" : "lamp off"); }
    void beep(int hz, int ms) override {
        log.push_back("beep " + std::to_string(hz) + " " + std::to_string(ms));
    }
    void foundAddressAdded(std::size_t index) override {
        log.push_back("row " + std::to_string(index));
    }
    void append(std::string_view text, ConsoleStyle, bool) override {
        log.push_back("console " + std::string(text));
    }
    void clear() override { log.push_back("clear"); }

    std::vector<std::string> log;
};

using testing::kAb1;
using testing::kCd;
const std::string kOneRecord = kAb1.record();
const std::string kMary = kCd.record();
const SearchedPatterns kSearched{false, {"1Ab", "1Cd"}};

std::vector<std::string> reportOf(const std::string& pattern, const std::string& address,
                                  const std::string& key) {
    return {"console ***** FOUND Bitcoin address *****",
            "console Pattern: ",
            "console " + pattern,
            "console BTC address: ",
            "console " + address,
            "console Private key: ",
            "console " + key,
            "console -----------------------------------------"};
}

TEST(CheckFoundKeys, ReportsEachNewAddressInItsStylesOnce) {
    FoundAddressStore store;
    RecordingConsole console;
    Recorder events;
    FoundKeyTarget target{store, {}, events, console, &kSearched};

    EXPECT_TRUE(checkFoundKeysInText(kOneRecord, target));
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(store[0], (FoundAddress{true, "1Ab", "1Ab2BY14xzsj18UDekH731Uedfg8SJkwhV",
                                      "L5CN9NRk9Tnx5QUEVKdXRfGvpdvGajFvaxYE7ypXgSQz8LxgiaKs"}));
    const std::vector<ConsolePiece> expected = {
        {"***** FOUND Bitcoin address *****", ConsoleStyle::Heading, true},
        {"Pattern: ", ConsoleStyle::Label, false},
        {"1Ab", ConsoleStyle::FoundValue, true},
        {"BTC address: ", ConsoleStyle::Label, false},
        {"1Ab2BY14xzsj18UDekH731Uedfg8SJkwhV", ConsoleStyle::FoundValue, true},
        {"Private key: ", ConsoleStyle::Label, false},
        {"L5CN9NRk9Tnx5QUEVKdXRfGvpdvGajFvaxYE7ypXgSQz8LxgiaKs", ConsoleStyle::FoundValue, true},
        {std::string(41, '-'), ConsoleStyle::Plain, true},
    };
    EXPECT_EQ(console.pieces, expected);
    EXPECT_EQ(events.log, (std::vector<std::string>{"row 0"}));

    // The next pass over the same file reports nothing.
    console.pieces.clear();
    EXPECT_FALSE(checkFoundKeysInText(kOneRecord, target));
    EXPECT_TRUE(console.pieces.empty());
    EXPECT_EQ(store.size(), 1u);
}

TEST(CheckFoundKeys, LampAndBeepComeBeforeEachReportWhenTheOptionsAreOn) {
    struct Case {
        bool lamp, sound;
        std::vector<std::string> before;
    };
    const Case cases[] = {
        {false, false, {}},
        {true, false, {"lamp on"}},
        {false, true, {"beep 650 30"}},
        {true, true, {"lamp on", "beep 650 30"}},
    };
    for (const Case& c : cases) {
        FoundAddressStore store;
        Recorder recorder;
        FoundKeyTarget target{store, {c.lamp, c.sound}, recorder, recorder, &kSearched};
        EXPECT_TRUE(checkFoundKeysInText(kOneRecord + kMary, target));

        std::vector<std::string> expected = c.before;
        for (const auto& line : reportOf("1Ab", "1Ab2BY14xzsj18UDekH731Uedfg8SJkwhV",
                                         "L5CN9NRk9Tnx5QUEVKdXRfGvpdvGajFvaxYE7ypXgSQz8LxgiaKs"))
            expected.push_back(line);
        expected.push_back("row 0");
        expected.insert(expected.end(), c.before.begin(), c.before.end());
        for (const auto& line : reportOf("1Cd", "1CdHUiWdHE3etLiAcjcK8FyHGMCkwukJh3",
                                         "5KWbd21CnbMNfLzm1UPQTvT5QX5MUqvMRwqy4LsypboeKyuuSt9"))
            expected.push_back(line);
        expected.push_back("row 1");
        EXPECT_EQ(recorder.log, expected) << "lamp " << c.lamp << " sound " << c.sound;
    }
}

TEST(CheckFoundKeys, SameAddressTwiceInOnePassIsReportedOnce) {
    FoundAddressStore store;
    Recorder recorder;
    FoundKeyTarget target{store, {true, true}, recorder, recorder, &kSearched};
    const std::string sameAddressOtherKey =
        "Pattern: 1Ab\r\nAddress: " + std::string(kAb1.address) +
        "\r\nPrivkey: " + std::string(kCd.key) + "\r\n";
    EXPECT_TRUE(checkFoundKeysInText(kOneRecord + sameAddressOtherKey, target));
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(store[0].privateKey, kAb1.key);
    EXPECT_EQ(std::count(recorder.log.begin(), recorder.log.end(), "beep 650 30"), 1);
}

TEST(CheckFoundKeys, AddressStoredFromAnEarlierRunIsNotAnnounced) {
    FoundAddressStore store;
    store.AddFoundAddress(false, "1Ab", "1Ab2BY14xzsj18UDekH731Uedfg8SJkwhV",
                          "L5CN9NRk9Tnx5QUEVKdXRfGvpdvGajFvaxYE7ypXgSQz8LxgiaKs");
    Recorder recorder;
    FoundKeyTarget target{store, {true, true}, recorder, recorder, &kSearched};
    EXPECT_FALSE(checkFoundKeysInText(kOneRecord, target));
    EXPECT_TRUE(recorder.log.empty());
    EXPECT_FALSE(store[0].isNew);
}

TEST(CheckFoundKeys, ReadsTheFileWithoutChangingIt) {
    testing::TempFolder folder;
    FoundAddressStore store;
    Recorder recorder;
    FoundKeyTarget target{store, {}, recorder, recorder, &kSearched};
    const auto results = folder / "results.txt";
    FoundKeyScanner scanner(results);

    EXPECT_FALSE(scanner.check(target));
    EXPECT_FALSE(std::filesystem::exists(results));

    const std::string partial = kOneRecord + "Pattern: 1Cd\r\nAddress: 1Cd";
    testing::writeBytes(results, partial);
    EXPECT_TRUE(scanner.check(target));
    EXPECT_EQ(store.size(), 1u);
    EXPECT_EQ(testing::readBytes(results), partial);

    testing::writeBytes(results, kOneRecord + kMary);
    EXPECT_TRUE(scanner.check(target));
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store[1].privateKey, kCd.key);
}

TEST(CheckFoundKeys, UnterminatedLastRecordIsNeverTaken) {
    // A writer killed in the middle of the key line leaves a whole address with a cut key: the
    // record must not reach the store, whether or not more is written later.
    FoundAddressStore store;
    Recorder recorder;
    FoundKeyTarget target{store, {}, recorder, recorder, &kSearched};
    const std::string cut = kOneRecord + kMary.substr(0, kMary.size() - 10);
    EXPECT_TRUE(checkFoundKeysInText(cut, target));
    EXPECT_FALSE(checkFoundKeysInText(cut, target));
    EXPECT_EQ(store.size(), 1u);
    EXPECT_TRUE(checkFoundKeysInText(cut + kMary.substr(kMary.size() - 10), target));
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store[1].privateKey, kCd.key);
}

} // namespace
} // namespace tarwick
