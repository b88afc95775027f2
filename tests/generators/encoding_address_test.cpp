// P2PKH addresses and WIF private keys of random keys against libsecp256k1 and OpenSSL, and
// the published texts of key 1 (the generator G) and key 2 (a 33-character address).

#include "ec_reference.h"
#include "engine/encoding/Address.h"
#include "engine/encoding/Wif.h"
#include "engine/hash/Hash160.h"

#include <gtest/gtest.h>

namespace {

using namespace tarwick::engine;
namespace test = tarwick::test;

std::string addressOf(const test::Key& key, bool compressed, std::uint8_t version = 0) {
    const test::Bytes publicKey = test::referencePublicKey(key, compressed);
    std::uint8_t hash[20];
    hash160(publicKey.data(), publicKey.size(), hash);
    return p2pkhAddress(version, hash);
}

TEST(Address, KnownKeys) {
    const test::Key one = test::keyFromUint64(1);
    EXPECT_EQ(addressOf(one, true), "1BgGZ9tcN4rm9KBzDn7KprQz87SZ26SAMH");
    EXPECT_EQ(addressOf(one, false), "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm");
    EXPECT_EQ(addressOf(test::keyFromUint64(2), true), "1cMh228HTCiwS8ZsaakH8A8wze1JR5ZsP");
    EXPECT_EQ(wifFromPrivateKey(one.data(), false),
              "5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAnchuDf");
    EXPECT_EQ(wifFromPrivateKey(one.data(), true),
              "KwDiBf89QgGbjEhKnhXJuH7LrciVrZi3qYjgd9M7rFU73sVHnoWn");
}

TEST(Address, RandomKeysAndVersionsAgreeWithTheReference) {
    test::TestRandom random(77);
    for (int i = 0; i < test::iterations(200); ++i) {
        const test::Key key = random.key();
        const bool compressed = i % 2 == 0;
        const std::string address = addressOf(key, compressed);
        ASSERT_EQ(address, test::referenceAddress(key, compressed));
        ASSERT_EQ(test::referenceAddressMismatch(wifFromPrivateKey(key.data(), compressed), address,
                                                 compressed),
                  "");
        // Other version bytes: Base58Check of the version and the same hash.
        const auto version = static_cast<std::uint8_t>(random.below(256));
        test::Bytes payload = *test::referenceBase58CheckDecode(address);
        payload[0] = version;
        ASSERT_EQ(addressOf(key, compressed, version), test::referenceBase58CheckEncode(payload));
    }
}

} // namespace
