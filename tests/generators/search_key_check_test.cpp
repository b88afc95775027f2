// The final check before a key is reported refuses every kind of wrong key (every right key
// the programs find passes it), and a key it refuses never reaches the search's observer.

#include "ec_reference.h"
#include "engine/search/Search.h"
#include "engine/verify/ReferenceKeyCheck.h"

#include <functional>
#include <gtest/gtest.h>

namespace tarwick::engine {
namespace {

// A found key built entirely by the test's references.
FoundKey referenceFoundKey(std::uint64_t key) {
    FoundKey found;
    found.privateKey = test::keyFromUint64(key);
    found.publicKey = test::referencePublicKey(found.privateKey, true);
    const test::Bytes hash = test::referenceHash160(found.publicKey);
    std::copy(hash.begin(), hash.end(), found.hash160.begin());
    found.address = test::referenceAddress(found.privateKey, true);
    test::Bytes wif(34, 0x80);
    std::copy(found.privateKey.begin(), found.privateKey.end(), wif.begin() + 1);
    wif.back() = 0x01;
    found.privateKeyWif = test::referenceBase58CheckEncode(wif);
    found.pattern = found.address.substr(0, 3);
    return found;
}

TEST(SearchKeyCheck, RefusesEveryKindOfWrongKey) {
    const ReferenceKeyCheck check;
    const FoundKey right = referenceFoundKey(12345);
    const FoundKey other = referenceFoundKey(12346);
    const std::pair<std::function<void(FoundKey&)>, const char*> wrongs[] = {
        {[&](FoundKey& k) { k.privateKey = other.privateKey; }, "another key"},
        {[&](FoundKey& k) { k.publicKey = other.publicKey; }, "another public key"},
        {[&](FoundKey& k) { k.publicKey = test::referencePublicKey(right.privateKey, false); },
         "the other encoding of the right point"},
        {[&](FoundKey& k) { k.hash160[19] ^= 1; }, "hash"},
        {[&](FoundKey& k) { k.address = other.address, k.pattern = other.address.substr(0, 3); },
         "another address"},
        {[&](FoundKey& k) { k.address.back() = k.address.back() == 'z' ? 'y' : 'z'; },
         "address checksum"},
        {[&](FoundKey& k) { k.privateKeyWif = other.privateKeyWif; }, "another WIF"},
        {[&](FoundKey& k) { k.compressed = false; }, "WIF and public key say compressed"},
        {[&](FoundKey& k) { k.pattern = "1zzz"; }, "pattern"},
        {[&](FoundKey& k) { k.pattern.clear(); }, "no pattern"},
        {[&](FoundKey& k) { k.privateKey.fill(0); }, "not a key at all"},
    };
    ASSERT_EQ(check.problem(right, false), "");
    for (const auto& [change, name] : wrongs) {
        FoundKey wrong = right;
        change(wrong);
        const std::string problem = check.problem(wrong, false);
        EXPECT_NE(problem, "") << name;
        EXPECT_EQ(problem.find(right.privateKeyWif), std::string::npos) << "reason shows the key";
    }
}

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
    Recorder recorder;
    RefusingCheck check;
    SystemStartKeys starts;
    std::vector<std::string> warnings;
    Search search(SearchSettings{}, PatternSet::build({"1A", "1B"}, false, 0, warnings), check,
                  recorder, starts);
    EXPECT_EQ(search.run(), SearchOutcome::CheckFailed);
    EXPECT_TRUE(recorder.keys.empty());
    ASSERT_EQ(recorder.failures.size(), 1u);
    EXPECT_NE(recorder.failures[0].find("error "), std::string::npos) << recorder.failures[0];
    EXPECT_NE(recorder.failures[0].find("rejected by the test"), std::string::npos);
}

} // namespace
} // namespace tarwick::engine
