// The final check before a key is reported: it accepts a right key and refuses every kind
// of wrong one.

#include "ec_reference.h"
#include "engine/verify/ReferenceKeyCheck.h"

#include <functional>
#include <gtest/gtest.h>

namespace tarwick::engine {
namespace {

// A found key built entirely by the test's references.
FoundKey referenceFoundKey(const test::Key& key, bool compressed, const std::string& pattern) {
    FoundKey found;
    found.privateKey = key;
    found.compressed = compressed;
    found.publicKey = test::referencePublicKey(key, compressed);
    const test::Bytes hash = test::referenceHash160(found.publicKey);
    std::copy(hash.begin(), hash.end(), found.hash160.begin());
    found.address = test::referenceAddress(key, compressed);
    test::Bytes wif(key.begin(), key.end());
    wif.insert(wif.begin(), 0x80);
    if (compressed)
        wif.push_back(0x01);
    found.privateKeyWif = test::referenceBase58CheckEncode(wif);
    found.pattern = pattern.empty() ? found.address.substr(0, 3) : pattern;
    return found;
}

TEST(SearchKeyCheck, AcceptsRightKeys) {
    const ReferenceKeyCheck check;
    test::TestRandom random(40);
    for (int i = 0; i < test::iterations(100); ++i)
        EXPECT_EQ(check.problem(referenceFoundKey(random.key(), i % 2 == 0, ""), false), "");
    // A case-insensitive pattern only with the option.
    const FoundKey one = referenceFoundKey(test::keyFromUint64(1), true, "1bgGz9");
    EXPECT_NE(check.problem(one, false), "");
    EXPECT_EQ(check.problem(one, true), "");
}

TEST(SearchKeyCheck, RefusesEveryKindOfWrongKey) {
    const ReferenceKeyCheck check;
    const FoundKey right = referenceFoundKey(test::keyFromUint64(12345), true, "");
    const FoundKey other = referenceFoundKey(test::keyFromUint64(12346), true, "");
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

} // namespace
} // namespace tarwick::engine
