// Base58Check, P2PKH addresses and WIF keys against OpenSSL's big numbers and libsecp256k1
// on random inputs.

#include "ec_reference.h"
#include "engine/encoding/Address.h"
#include "engine/encoding/Base58.h"
#include "engine/encoding/Wif.h"
#include "engine/hash/Hash160.h"

#include <gtest/gtest.h>

namespace tarwick::engine {
namespace {

using test::Bytes;

TEST(Base58Check, AgreesWithOpenSslOnRandomPayloadsAndChangedTexts) {
    test::TestRandom random(58);
    for (int round = 0; round < test::iterations(2000); ++round) {
        Bytes payload = random.bytes(1 + random.below(40));
        // Leading zeros are the tricky part: give many inputs some.
        for (std::size_t i = 0; i < payload.size() && random.below(3) == 0; ++i)
            payload[i] = 0;
        std::string text = base58CheckEncode(payload);
        ASSERT_EQ(text, test::referenceBase58CheckEncode(payload));
        ASSERT_EQ(base58CheckDecode(text), payload) << text;
        // One character changed (to a digit or not): both refuse it, or both read the same.
        text[random.below(text.size())] = "1zl0A"[random.below(5)];
        ASSERT_EQ(base58CheckDecode(text), test::referenceBase58CheckDecode(text)) << text;
    }
    for (const char* bad : {"", "1111", "3EFU7m ", "3EF\xc3\xa9", "a+b"}) // "1111": no checksum
        EXPECT_FALSE(base58CheckDecode(bad).has_value()) << bad;
}

TEST(Address, RandomKeysAndVersionsAgreeWithTheReference) {
    test::TestRandom random(77);
    for (int i = 0; i < test::iterations(200); ++i) {
        const test::Key key = random.key();
        const bool compressed = i % 2 == 0;
        const Bytes publicKey = test::referencePublicKey(key, compressed);
        std::uint8_t hash[20];
        hash160(publicKey.data(), publicKey.size(), hash);
        const std::string address = p2pkhAddress(0, hash);
        ASSERT_EQ(address, test::referenceAddress(key, compressed));
        ASSERT_EQ(test::referenceAddressMismatch(wifFromPrivateKey(key.data(), compressed), address,
                                                 compressed),
                  "");
        // Other version bytes: Base58Check of the version and the same hash.
        const auto version = static_cast<std::uint8_t>(random.below(256));
        Bytes payload = *test::referenceBase58CheckDecode(address);
        payload[0] = version;
        ASSERT_EQ(p2pkhAddress(version, hash), test::referenceBase58CheckEncode(payload));
    }
}

} // namespace
} // namespace tarwick::engine
