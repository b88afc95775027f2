// The search loop reports a key only after the final check passes it: a key the check
// refuses never reaches the observer, and the search ends with the check's reason. (What
// the search finds is checked against libsecp256k1 and OpenSSL in the programs' runs.)

#include "engine/search/Search.h"

#include <gtest/gtest.h>

namespace tarwick::engine {
namespace {

struct Recorder final : SearchObserver {
    void status(const SearchStatus&) override {}
    void found(const FoundKey& key) override { keys.push_back(key); }
    void failed(const std::string& message) override { failures.push_back(message); }
    std::vector<FoundKey> keys;
    std::vector<std::string> failures;
};

struct RefusingCheck final : KeyCheck {
    std::string problem(const FoundKey&, bool) const override { return "rejected by the test"; }
};

TEST(SearchEngine, KeyFailingTheCheckIsNeverReported) {
    for (const bool compressed : {true, false}) {
        SearchSettings settings;
        settings.compressed = compressed;
        Recorder recorder;
        RefusingCheck check;
        SystemStartKeys starts;
        std::vector<std::string> warnings;
        Search search(settings, PatternSet::build({"1A", "1B"}, false, 0, warnings), check,
                      recorder, starts);
        EXPECT_EQ(search.run(), SearchOutcome::CheckFailed);
        EXPECT_TRUE(recorder.keys.empty());
        ASSERT_EQ(recorder.failures.size(), 1u);
        EXPECT_NE(recorder.failures[0].find("error "), std::string::npos) << recorder.failures[0];
        EXPECT_NE(recorder.failures[0].find("rejected by the test"), std::string::npos);
    }
}

} // namespace
} // namespace tarwick::engine
