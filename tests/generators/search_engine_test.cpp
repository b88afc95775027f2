// The search loop: what it finds is what libsecp256k1 and OpenSSL say, for every kind of
// candidate; a key that fails the check never reaches the observer.

#include "ec_reference.h"
#include "engine/ec/Candidates.h"
#include "engine/search/Search.h"
#include "engine/verify/ReferenceKeyCheck.h"

#include <gtest/gtest.h>
#include <mutex>
#include <set>

namespace tarwick::engine {
namespace {

using test::Key;

class Recorder final : public SearchObserver {
public:
    void status(const SearchStatus& s) override {
        statuses.push_back(s);
        if (stopAfterStatuses != 0 && statuses.size() >= stopAfterStatuses) {
            search->requestStop();
        }
    }
    void found(const FoundKey& key) override {
        keys.push_back(key);
        if (stopAfterFinds != 0 && keys.size() >= stopAfterFinds) {
            search->requestStop();
        }
    }
    void failed(const std::string& message) override { failures.push_back(message); }

    Search* search = nullptr;
    std::size_t stopAfterStatuses = 0;
    std::size_t stopAfterFinds = 0;
    std::vector<SearchStatus> statuses;
    std::vector<FoundKey> keys;
    std::vector<std::string> failures;
};

class FixedStarts final : public StartKeySource {
public:
    explicit FixedStarts(std::vector<Key> keys) : keys_(std::move(keys)) {}
    Scalar nextStart() override {
        Scalar s;
        EXPECT_TRUE(Scalar::fromBytes(keys_[next_++ % keys_.size()].data(), s));
        return s;
    }

private:
    std::vector<Key> keys_;
    std::size_t next_ = 0;
};

// Counts the keys it is asked about and passes them to the reference check.
class CountingCheck final : public KeyCheck {
public:
    std::string problem(const FoundKey& key, bool caseInsensitive) const override {
        std::lock_guard lock(mutex_);
        ++calls;
        return reference_.problem(key, caseInsensitive);
    }
    mutable std::size_t calls = 0;

private:
    ReferenceKeyCheck reference_;
    mutable std::mutex mutex_;
};

class RejectingCheck final : public KeyCheck {
public:
    std::string problem(const FoundKey&, bool) const override { return "rejected by the test"; }
};

PatternSet patternsFor(const std::vector<std::string>& list, bool caseInsensitive = false) {
    std::vector<std::string> warnings;
    PatternSet set = PatternSet::build(list, caseInsensitive, 0x00, warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(set.size(), list.size());
    return set;
}

// Every reported key, re-derived from its WIF alone by the references.
void expectKeysVerified(const std::vector<FoundKey>& keys, bool compressed) {
    for (const FoundKey& k : keys) {
        EXPECT_EQ(test::referenceAddressMismatch(k.privateKeyWif, k.address, compressed), "")
            << k.address;
        EXPECT_EQ(k.address.rfind(k.pattern, 0), 0u) << k.pattern << " " << k.address;
    }
}

TEST(SearchEngine, FindsEachKindOfCandidateWithItsExactKey) {
    // From key 1, the six candidates of the first point are the keys 1, -1, lambda,
    // -lambda, lambda^2 and -lambda^2. Long prefixes of their addresses can only be met there.
    const Key one = test::keyFromUint64(1);
    Key lambda;
    endomorphismLambda().toBytes(lambda.data());
    const Key lambda2 = test::referenceKeyTimes(lambda, lambda);
    const std::vector<Key> expected = {one,     test::referenceKeyNegated(one),
                                       lambda,  test::referenceKeyNegated(lambda),
                                       lambda2, test::referenceKeyNegated(lambda2)};
    for (bool compressed : {true, false}) {
        std::vector<std::string> prefixes;
        for (const Key& k : expected) {
            prefixes.push_back(test::referenceAddress(k, compressed).substr(0, 8));
        }
        SearchSettings settings;
        settings.compressed = compressed;
        settings.walkerHalf = 8;
        Recorder recorder;
        CountingCheck check;
        FixedStarts starts({one});
        Search search(settings, patternsFor(prefixes), check, recorder, starts);
        recorder.search = &search;
        ASSERT_EQ(search.run(), SearchOutcome::AllFound);
        ASSERT_EQ(recorder.keys.size(), expected.size());
        EXPECT_EQ(check.calls, expected.size());
        std::set<std::string> seen;
        for (const FoundKey& found : recorder.keys) {
            const auto at = std::find(prefixes.begin(), prefixes.end(), found.pattern);
            ASSERT_NE(at, prefixes.end());
            const Key& want = expected[static_cast<std::size_t>(at - prefixes.begin())];
            EXPECT_EQ(test::toHex(found.privateKey), test::toHex(want));
            EXPECT_EQ(found.address, test::referenceAddress(want, compressed));
            EXPECT_EQ(found.publicKey, test::referencePublicKey(want, compressed));
            seen.insert(found.pattern);
        }
        EXPECT_EQ(seen.size(), expected.size());
        expectKeysVerified(recorder.keys, compressed);
        EXPECT_TRUE(recorder.failures.empty());
    }
}

TEST(SearchEngine, SeveralPatternsFromRandomStartsOnTwoThreads) {
    for (bool compressed : {true, false}) {
        SearchSettings settings;
        settings.threads = 2;
        settings.compressed = compressed;
        Recorder recorder;
        CountingCheck check;
        SystemStartKeys starts;
        Search search(settings, patternsFor({"1A", "1Bb", "1cc", "1Zz"}), check, recorder, starts);
        recorder.search = &search;
        ASSERT_EQ(search.run(), SearchOutcome::AllFound);
        ASSERT_EQ(recorder.keys.size(), 4u);
        EXPECT_EQ(check.calls, 4u);
        expectKeysVerified(recorder.keys, compressed);
    }
}

TEST(SearchEngine, CaseInsensitiveMatchesAnyCase) {
    SearchSettings settings;
    settings.caseInsensitive = true;
    Recorder recorder;
    CountingCheck check;
    SystemStartKeys starts;
    Search search(settings, patternsFor({"1aBc"}, true), check, recorder, starts);
    recorder.search = &search;
    ASSERT_EQ(search.run(), SearchOutcome::AllFound);
    ASSERT_EQ(recorder.keys.size(), 1u);
    const FoundKey& k = recorder.keys[0];
    EXPECT_EQ(test::referenceAddressMismatch(k.privateKeyWif, k.address, true), "");
    std::string head = k.address.substr(0, 4);
    for (char& c : head) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(head, "1abc");
}

TEST(SearchEngine, KeyFailingTheCheckIsNeverReported) {
    SearchSettings settings;
    Recorder recorder;
    RejectingCheck check;
    SystemStartKeys starts;
    Search search(settings, patternsFor({"1A"}), check, recorder, starts);
    recorder.search = &search;
    EXPECT_EQ(search.run(), SearchOutcome::CheckFailed);
    EXPECT_TRUE(recorder.keys.empty());
    ASSERT_EQ(recorder.failures.size(), 1u);
    EXPECT_NE(recorder.failures[0].find("error "), std::string::npos) << recorder.failures[0];
    EXPECT_NE(recorder.failures[0].find("rejected by the test"), std::string::npos);
}

TEST(SearchEngine, KeepGoingReportsManyKeysForOnePattern) {
    SearchSettings settings;
    settings.keepGoing = true;
    Recorder recorder;
    recorder.stopAfterFinds = 5;
    CountingCheck check;
    SystemStartKeys starts;
    Search search(settings, patternsFor({"1A"}), check, recorder, starts);
    recorder.search = &search;
    EXPECT_EQ(search.run(), SearchOutcome::Stopped);
    ASSERT_GE(recorder.keys.size(), 5u);
    std::set<std::string> addresses;
    for (const FoundKey& k : recorder.keys) {
        addresses.insert(k.address);
    }
    EXPECT_EQ(addresses.size(), recorder.keys.size());
    expectKeysVerified(recorder.keys, true);
}

TEST(SearchEngine, StatusAboutEverySecondWithGrowingTotals) {
    SearchSettings settings;
    Recorder recorder;
    recorder.stopAfterStatuses = 2;
    CountingCheck check;
    SystemStartKeys starts;
    Search search(settings, patternsFor({"1BitcoinEaterAddressDontSend"}), check, recorder, starts);
    recorder.search = &search;
    EXPECT_EQ(search.run(), SearchOutcome::Stopped);
    ASSERT_EQ(recorder.statuses.size(), 2u);
    EXPECT_GT(recorder.statuses[0].totalKeys, 0u);
    EXPECT_GT(recorder.statuses[1].totalKeys, recorder.statuses[0].totalKeys);
    EXPECT_GT(recorder.statuses[1].keysPerSecond, 0.0);
    EXPECT_GT(recorder.statuses[1].difficulty, 1e40);
    EXPECT_EQ(recorder.statuses[1].found, 0u);
    EXPECT_EQ(check.calls, 0u);
}

} // namespace
} // namespace tarwick::engine
