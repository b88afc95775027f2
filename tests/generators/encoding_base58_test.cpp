// Base58 and Base58Check against Bitcoin Core's published encode/decode vectors and against a
// plain big-integer conversion written here, independent of the engine's code.

#include "ec_reference.h"
#include "engine/encoding/Base58.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using tarwick::engine::base58CheckDecode;
using tarwick::engine::base58CheckEncode;
using tarwick::engine::base58Decode;
using tarwick::engine::base58Encode;

std::vector<std::uint8_t> fromHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

struct Vector {
    const char* hex;
    const char* text;
};

// From Bitcoin Core's src/test/data/base58_encode_decode.json.
const Vector kCoreVectors[] = {
    {"", ""},
    {"61", "2g"},
    {"626262", "a3gV"},
    {"636363", "aPEr"},
    {"73696d706c792061206c6f6e6720737472696e67", "2cFupjhnEsSn59qHXstmK2ffpLv2"},
    {"00eb15231dfceb60925886b67d065299925915aeb172c06647", "1NS17iag9jJgTHD1VXjvLCEnZuQ3rJDE9L"},
    {"516b6fcd0f", "ABnLTmg"},
    {"bf4f89001e670274dd", "3SEo3LWLoPntC"},
    {"572e4794", "3EFU7m"},
    {"ecac89cad93923c02321", "EJDM8drfXA6uyA"},
    {"10c8511e", "Rt5zm"},
    {"00000000000000000000", "1111111111"},
    {"000111d38e5fc9071ffcd20b4a763cc9ae4f252bb4e48fd66a835e252ada93ff480d6dd43dc62a641155a5",
     "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz"},
};

TEST(Base58, EncodesBitcoinCoreVectors) {
    for (const auto& v : kCoreVectors)
        EXPECT_EQ(base58Encode(fromHex(v.hex)), v.text) << v.hex;
}

TEST(Base58, DecodesBitcoinCoreVectors) {
    for (const auto& v : kCoreVectors) {
        const auto decoded = base58Decode(v.text);
        ASSERT_TRUE(decoded.has_value()) << v.text;
        EXPECT_EQ(*decoded, fromHex(v.hex)) << v.text;
    }
}

TEST(Base58, RejectsCharactersOutsideTheAlphabet) {
    for (const char* bad : {"0", "O", "I", "l", "3EFU7m ", " 3EFU7m", "3EF\xc3\xa9", "a+b"})
        EXPECT_FALSE(base58Decode(bad).has_value()) << bad;
    EXPECT_EQ(tarwick::engine::base58DigitValue('1'), 0);
    EXPECT_EQ(tarwick::engine::base58DigitValue('z'), 57);
    EXPECT_EQ(tarwick::engine::base58DigitValue('l'), -1);
    EXPECT_EQ(tarwick::engine::base58DigitValue('\xff'), -1);
}

// Base58 by repeated division of the number the bytes spell, in 32-bit limbs.
std::string referenceEncode(const std::vector<std::uint8_t>& bytes) {
    std::size_t zeros = 0;
    while (zeros < bytes.size() && bytes[zeros] == 0)
        ++zeros;
    std::vector<std::uint32_t> number; // big-endian bytes, most significant first
    for (std::size_t i = zeros; i < bytes.size(); ++i)
        number.push_back(bytes[i]);
    std::string reversed;
    while (!number.empty()) {
        std::uint32_t remainder = 0;
        std::vector<std::uint32_t> quotient;
        for (std::uint32_t byte : number) {
            const std::uint32_t value = remainder * 256 + byte;
            if (!quotient.empty() || value / 58 != 0)
                quotient.push_back(value / 58);
            remainder = value % 58;
        }
        reversed += "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz"[remainder];
        number = quotient;
    }
    return std::string(zeros, '1') + std::string(reversed.rbegin(), reversed.rend());
}

TEST(Base58, RandomDataRoundTripsAndMatchesTheReference) {
    auto rng = tarwick::test::randomEngine(58);
    for (int round = 0; round < tarwick::test::randomIterations(2000); ++round) {
        std::vector<std::uint8_t> bytes(rng() % 40);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(rng());
        // Leading zeros are the tricky part: give many inputs some.
        for (std::size_t i = 0; i < bytes.size() && rng() % 3 == 0; ++i)
            bytes[i] = 0;
        const std::string text = base58Encode(bytes);
        ASSERT_EQ(text, referenceEncode(bytes));
        const auto back = base58Decode(text);
        ASSERT_TRUE(back.has_value());
        ASSERT_EQ(*back, bytes);
    }
}

TEST(Base58Check, KnownAddressesDecodeToTheirPayload) {
    // From Bitcoin Core's src/test/data/key_io_valid.json: main-network P2PKH and P2SH, and a
    // test-network P2PKH address, with the hash each one carries.
    const Vector addresses[] = {
        {"0065a16059864a2fdbc7c99a4723a8395bc6f188eb", "1AGNa15ZQXAZUgFiqJ2i7Z2DPU2J6hW62i"},
        {"0574f209f6ea907e2ea48f74fae05782ae8a665257", "3CMNFxN1oHBc4R1EpboAL5yzHGgE611Xou"},
        {"6f53c0307d6851aa0ce7825ba883c6bd9ad242b486", "mo9ncXisMeAoXwqcV5EWuyncbmCcQN4rVs"},
    };
    for (const auto& v : addresses) {
        EXPECT_EQ(base58CheckEncode(fromHex(v.hex)), v.text);
        const auto payload = base58CheckDecode(v.text);
        ASSERT_TRUE(payload.has_value()) << v.text;
        EXPECT_EQ(*payload, fromHex(v.hex));
    }
}

TEST(Base58Check, RejectsAChangedCharacterAndShortInput) {
    std::string text = "1AGNa15ZQXAZUgFiqJ2i7Z2DPU2J6hW62i";
    text[10] = text[10] == 'Z' ? 'Y' : 'Z';
    EXPECT_FALSE(base58CheckDecode(text).has_value());
    EXPECT_FALSE(base58CheckDecode("").has_value());
    EXPECT_FALSE(base58CheckDecode("1111").has_value()); // four zero bytes: checksum of nothing
    EXPECT_FALSE(base58CheckDecode("1AGNa15ZQXAZUgFiqJ2i7Z2DPU2J6hW62l").has_value());
}

} // namespace
