// P2PKH addresses and WIF private keys for the keys 1 and 2, whose public keys are the curve's
// generator G and 2G, against their published texts.

#include "engine/encoding/Address.h"
#include "engine/encoding/Base58.h"
#include "engine/encoding/Wif.h"
#include "engine/hash/Hash160.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace tarwick::engine;

std::vector<std::uint8_t> fromHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

const char* const kG = "0279be667ef9dcbbac55a06295ce870b07029bfcdb2dce28d959f2815b16f81798";
const char* const kGUncompressed =
    "0479be667ef9dcbbac55a06295ce870b07029bfcdb2dce28d959f2815b16f81798"
    "483ada7726a3c4655da4fbfc0e1108a8fd17b448a68554199c47d08ffb10d4b8";
const char* const k2G = "02c6047f9441ed7d6d3045406e95c07cd85c778e4b8cef3ca7abac09b95c709ee5";

std::string addressOfPublicKey(const char* hex) {
    const auto key = fromHex(hex);
    std::uint8_t hash[20];
    hash160(key.data(), key.size(), hash);
    return p2pkhAddress(kBitcoinAddressVersion, hash);
}

TEST(Address, KeyOneCompressedAndUncompressed) {
    EXPECT_EQ(addressOfPublicKey(kG), "1BgGZ9tcN4rm9KBzDn7KprQz87SZ26SAMH");
    EXPECT_EQ(addressOfPublicKey(kGUncompressed), "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm");
}

TEST(Address, KeyTwoCompressedHasThirtyThreeCharacters) {
    const std::string address = addressOfPublicKey(k2G);
    EXPECT_EQ(address, "1cMh228HTCiwS8ZsaakH8A8wze1JR5ZsP");
    EXPECT_EQ(address.size(), 33u);
}

TEST(Address, OtherVersionBytes) {
    // key_io_valid.json: the P2SH and test-network texts of these hashes.
    const auto scriptHash = fromHex("74f209f6ea907e2ea48f74fae05782ae8a665257");
    EXPECT_EQ(p2pkhAddress(5, scriptHash.data()), "3CMNFxN1oHBc4R1EpboAL5yzHGgE611Xou");
    const auto testHash = fromHex("53c0307d6851aa0ce7825ba883c6bd9ad242b486");
    EXPECT_EQ(p2pkhAddress(111, testHash.data()), "mo9ncXisMeAoXwqcV5EWuyncbmCcQN4rVs");
}

TEST(Address, AllZeroHashIsAllOnes) {
    const std::uint8_t zero[20] = {};
    const std::string address = p2pkhAddress(0, zero);
    // 21 zero bytes give 21 '1's; the checksum adds the rest.
    EXPECT_EQ(address.substr(0, 21), std::string(21, '1'));
    const auto decoded = base58CheckDecode(address);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, std::vector<std::uint8_t>(21, 0));
}

TEST(Wif, KeyOne) {
    std::uint8_t key[32] = {};
    key[31] = 1;
    EXPECT_EQ(wifFromPrivateKey(key, false), "5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAnchuDf");
    EXPECT_EQ(wifFromPrivateKey(key, true), "KwDiBf89QgGbjEhKnhXJuH7LrciVrZi3qYjgd9M7rFU73sVHnoWn");
}

TEST(Wif, DecodesBackToTheKeyAndStartsWithTheDocumentedCharacters) {
    std::uint8_t key[32];
    for (int i = 0; i < 32; ++i)
        key[i] = static_cast<std::uint8_t>(0xf0 - 3 * i);
    const std::string uncompressed = wifFromPrivateKey(key, false);
    const std::string compressed = wifFromPrivateKey(key, true);
    EXPECT_EQ(uncompressed[0], '5');
    EXPECT_TRUE(compressed[0] == 'K' || compressed[0] == 'L');
    const auto payload = base58CheckDecode(compressed);
    ASSERT_TRUE(payload.has_value());
    ASSERT_EQ(payload->size(), 34u);
    EXPECT_EQ((*payload)[0], 0x80);
    EXPECT_TRUE(std::equal(key, key + 32, payload->begin() + 1));
    EXPECT_EQ((*payload)[33], 0x01);
}

} // namespace
