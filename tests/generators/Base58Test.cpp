// Base58Check against OpenSSL's big numbers on random payloads. (Addresses and WIF keys are
// checked against the references on every key the programs report.)

#include "engine/encoding/Base58.h"

#include "EcReference.h"

#include <gtest/gtest.h>

namespace tarwick::engine {
namespace {

using test::Bytes;

TEST(Base58Check, AgreesWithOpenSslOnRandomPayloadsAndChangedTexts) {
    test::TestRandom random(58);
    for (int round = 0; round < test::randomIterations(2000); ++round) {
        Bytes payload = random.bytes(1 + random.below(40));
        // Leading zeros are the tricky part: give many inputs some.
        for (std::size_t i = 0; i < payload.size() && random.below(3) == 0; ++i) {
            payload[i] = 0;
        }
        std::string text = base58CheckEncode(payload);
        ASSERT_EQ(text, test::referenceBase58CheckEncode(payload));
        ASSERT_EQ(base58CheckDecode(text), payload) << text;
        // One character changed (to a digit or not): both refuse it, or both read the same.
        text[random.below(text.size())] = "1zl0A"[random.below(5)];
        ASSERT_EQ(base58CheckDecode(text), test::referenceBase58CheckDecode(text)) << text;
    }
    for (const char* bad : {"", "1111", "3EFU7m ", "3EF\xc3\xa9", "a+b"}) { // "1111": no checksum
        EXPECT_FALSE(base58CheckDecode(bad).has_value()) << bad;
    }
}

} // namespace
} // namespace tarwick::engine
