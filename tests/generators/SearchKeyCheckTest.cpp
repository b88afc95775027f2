// The final check before a key is reported refuses every kind of wrong key (every right key
// the programs find passes it), and a key it refuses never reaches the search's observer.

#include "EcReference.h"
#include "engine/search/Search.h"
#include "engine/verify/ReferenceKeyCheck.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace tarwick::engine {
namespace {

// A found key built entirely by the test's references.
FoundKey referenceFoundKey(std::uint64_t key) {
    FoundKey k;
    k.privateKey = test::keyFromUint64(key);
    k.publicKey = test::referencePublicKey(k.privateKey, true);
    std::ranges::copy(test::referenceHash160(k.publicKey), k.hash160.begin());
    k.address = test::referenceAddress(k.privateKey, true);
    test::Bytes wif(34, 0x01); // version 0x80, the key, 0x01: compressed
    wif[0] = 0x80;
    std::ranges::copy(k.privateKey, wif.begin() + 1);
    k.privateKeyWif = test::referenceBase58CheckEncode(wif);
    k.pattern = k.address.substr(0, 3);
    return k;
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

// Records what the search reports, and refuses every key as the final check.
struct Recorder final : SearchObserver, KeyCheck {
    void status(const SearchStatus&) override {}
    void found(const FoundKey&) override { failures += "found a key\n"; }
    void failed(const std::string& message) override { failures += message + "\n"; }
    std::string problem(const FoundKey&, bool) const override { return "rejected by the test"; }
    std::string failures;
};

TEST(SearchEngine, KeyFailingTheCheckIsNeverReported) {
    Recorder recorder;
    SystemStartKeys starts;
    std::vector<std::string> warnings;
    Search search(SearchSettings{}, PatternSet::build({"1A", "1B"}, false, 0, warnings), recorder,
                  recorder, starts);
    EXPECT_EQ(search.run(), SearchOutcome::CheckFailed);
    const std::string& f = recorder.failures; // one failure, naming the reason, and no key
    EXPECT_TRUE(std::ranges::count(f, '\n') == 1 && f.find("error ") != std::string::npos &&
                f.find("rejected by the test") != std::string::npos)
        << f;
}

} // namespace
} // namespace tarwick::engine
