// The final check before a key is reported: it accepts a right key and refuses every kind
// of wrong one.

#include "ec_reference.h"
#include "engine/verify/ReferenceKeyCheck.h"

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
    test::Bytes wif;
    wif.reserve(34);
    wif.push_back(0x80);
    for (std::uint8_t b : key) {
        wif.push_back(b);
    }
    if (compressed) {
        wif.push_back(0x01);
    }
    found.privateKeyWif = test::referenceBase58CheckEncode(wif);
    found.pattern = pattern.empty() ? found.address.substr(0, 3) : pattern;
    return found;
}

TEST(SearchKeyCheck, AcceptsTheKnownKeys) {
    const ReferenceKeyCheck check;
    const FoundKey one = referenceFoundKey(test::keyFromUint64(1), true, "1BgGZ9");
    EXPECT_EQ(one.address, "1BgGZ9tcN4rm9KBzDn7KprQz87SZ26SAMH");
    EXPECT_EQ(one.privateKeyWif, "KwDiBf89QgGbjEhKnhXJuH7LrciVrZi3qYjgd9M7rFU73sVHnoWn");
    EXPECT_EQ(check.problem(one, false), "");
    const FoundKey oneUncompressed = referenceFoundKey(test::keyFromUint64(1), false, "1EHNa");
    EXPECT_EQ(oneUncompressed.address, "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm");
    EXPECT_EQ(oneUncompressed.privateKeyWif, "5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAnchuDf");
    EXPECT_EQ(check.problem(oneUncompressed, false), "");
    test::TestRandom random(40);
    for (int i = 0; i < test::randomIterations(100); ++i) {
        EXPECT_EQ(check.problem(referenceFoundKey(random.key(), i % 2 == 0, ""), false), "");
    }
}

TEST(SearchKeyCheck, CaseInsensitivePatternOnlyWithTheOption) {
    const ReferenceKeyCheck check;
    const FoundKey one = referenceFoundKey(test::keyFromUint64(1), true, "1bgGz9");
    EXPECT_NE(check.problem(one, false), "");
    EXPECT_EQ(check.problem(one, true), "");
}

TEST(SearchKeyCheck, RefusesEveryKindOfWrongKey) {
    const ReferenceKeyCheck check;
    const FoundKey right = referenceFoundKey(test::keyFromUint64(12345), true, "");
    ASSERT_EQ(check.problem(right, false), "");
    const FoundKey other = referenceFoundKey(test::keyFromUint64(12346), true, "");

    FoundKey wrong = right;
    wrong.privateKey = other.privateKey; // another key for the same address
    EXPECT_NE(check.problem(wrong, false), "");

    wrong = right;
    wrong.publicKey = other.publicKey;
    EXPECT_NE(check.problem(wrong, false), "");

    wrong = right;
    wrong.publicKey = test::referencePublicKey(test::keyFromUint64(12345), false);
    EXPECT_NE(check.problem(wrong, false), "") << "the other encoding of the right point";

    wrong = right;
    wrong.hash160[19] ^= 1;
    EXPECT_NE(check.problem(wrong, false), "");

    wrong = right;
    wrong.address = other.address;
    wrong.pattern = other.address.substr(0, 3);
    EXPECT_NE(check.problem(wrong, false), "");

    wrong = right;
    wrong.address.back() = wrong.address.back() == 'z' ? 'y' : 'z';
    EXPECT_NE(check.problem(wrong, false), "");

    wrong = right;
    wrong.privateKeyWif = other.privateKeyWif;
    EXPECT_NE(check.problem(wrong, false), "");

    wrong = right;
    wrong.compressed = false; // WIF and public key say compressed
    EXPECT_NE(check.problem(wrong, false), "");

    wrong = right;
    wrong.pattern = "1zzz";
    EXPECT_NE(check.problem(wrong, false), "");

    wrong = right;
    wrong.pattern.clear();
    EXPECT_NE(check.problem(wrong, false), "");

    wrong = right;
    wrong.privateKey.fill(0); // not a key at all
    EXPECT_NE(check.problem(wrong, false), "");

    // The reasons never carry the private key.
    wrong = right;
    wrong.address = other.address;
    EXPECT_EQ(check.problem(wrong, false).find(right.privateKeyWif), std::string::npos);
}

} // namespace
} // namespace tarwick::engine
