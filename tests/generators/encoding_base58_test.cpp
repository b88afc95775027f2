// Base58 and Base58Check against OpenSSL's big numbers on random payloads, plus Bitcoin Core's
// vectors for the edges: nothing, leading zeros, every digit.

#include "ec_reference.h"
#include "engine/encoding/Base58.h"

#include <gtest/gtest.h>

namespace {

using namespace tarwick::engine;
using tarwick::test::Bytes;

Bytes fromHex(const std::string& hex) {
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

TEST(Base58, EdgeVectorsAndCharactersOutsideTheAlphabet) {
    // From Bitcoin Core's src/test/data/base58_encode_decode.json.
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},
        {"61", "2g"},
        {"00000000000000000000", "1111111111"},
        {"000111d38e5fc9071ffcd20b4a763cc9ae4f252bb4e48fd66a835e252ada93ff480d6dd43dc62a641155a5",
         "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz"}};
    for (const auto& [hex, text] : vectors) {
        EXPECT_EQ(base58Encode(fromHex(hex)), text);
        EXPECT_EQ(base58Decode(text), fromHex(hex)) << text;
    }
    for (const char* bad : {"0", "O", "I", "l", "3EFU7m ", " 3EFU7m", "3EF\xc3\xa9", "a+b"})
        EXPECT_FALSE(base58Decode(bad).has_value()) << bad;
}

TEST(Base58Check, AgreesWithOpenSslOnRandomPayloadsAndChangedTexts) {
    tarwick::test::TestRandom random(58);
    for (int round = 0; round < tarwick::test::iterations(2000); ++round) {
        Bytes payload = random.bytes(1 + random.below(40));
        // Leading zeros are the tricky part: give many inputs some.
        for (std::size_t i = 0; i < payload.size() && random.below(3) == 0; ++i)
            payload[i] = 0;
        std::string text = base58CheckEncode(payload);
        ASSERT_EQ(text, tarwick::test::referenceBase58CheckEncode(payload));
        ASSERT_EQ(base58CheckDecode(text), payload) << text;
        // One character changed (to a digit or not): both refuse it, or both read the same.
        text[random.below(text.size())] = "1zl0A"[random.below(5)];
        ASSERT_EQ(base58CheckDecode(text), tarwick::test::referenceBase58CheckDecode(text)) << text;
    }
    EXPECT_FALSE(base58CheckDecode("").has_value());
    EXPECT_FALSE(base58CheckDecode("1111").has_value()); // four zero bytes: checksum of nothing
}

} // namespace
