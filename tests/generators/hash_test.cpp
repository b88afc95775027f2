// SHA-256, RIPEMD-160, hash160 and every backend of hash160Batch against OpenSSL: random data
// of every length around the block boundaries, batches that fill the lanes and that do not.

#include "ec_reference.h"
#include "engine/hash/Hash160.h"
#include "engine/hash/Ripemd160.h"
#include "engine/hash/Sha256.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

namespace tarwick::engine {
namespace {

using test::Bytes;

TEST(Hash, RandomMessagesOfEveryLengthAgreeWithOpenSsl) {
    test::TestRandom random(20240601);
    for (std::size_t length = 0; length <= 300; ++length) {
        const Bytes data = random.bytes(length);
        Bytes sha(32), twice(32), rmd(20), expectRmd(20), h160(20);
        sha256(data.data(), length, sha.data());
        sha256d(data.data(), length, twice.data());
        ripemd160(data.data(), length, rmd.data());
        hash160(data.data(), length, h160.data());
        EVP_Digest(data.data(), length, expectRmd.data(), nullptr, EVP_ripemd160(), nullptr);
        ASSERT_EQ(sha, test::referenceSha256(data)) << length;
        ASSERT_EQ(twice, test::referenceSha256(sha)) << length;
        ASSERT_EQ(rmd, expectRmd) << length;
        ASSERT_EQ(h160, test::referenceHash160(data)) << length;
    }
}

class HashBatch : public ::testing::TestWithParam<HashBackend> {};

// Public keys of both lengths and other lengths; a guard byte catches a write past the end.
TEST_P(HashBatch, AgreesWithOpenSsl) {
    if (!hashBackendSupported(GetParam()))
        GTEST_SKIP() << "this CPU lacks " << hashBackendName(GetParam());
    test::TestRandom random(33);
    for (std::size_t length : {33, 65, 0, 1, 32, 34, 64, 100})
        for (std::size_t count : {0, 1, 2, 3, 5, 7, 8, 9, 13, 15, 16, 17, 24, 31, 33, 47, 257}) {
            Bytes keys = random.bytes(length * count + 1);
            for (std::size_t i = 0; (length == 33 || length == 65) && i < count; ++i)
                keys[i * length] = static_cast<std::uint8_t>(length == 33 ? 2 + i % 2 : 4);
            Bytes out(count * 20 + 1, 0xa5);
            hash160BatchWith(GetParam(), keys.data(), length, count, out.data());
            ASSERT_EQ(out.back(), 0xa5) << "wrote past the end, count " << count;
            for (std::size_t i = 0; i < count; ++i)
                ASSERT_EQ(Bytes(out.begin() + i * 20, out.begin() + i * 20 + 20),
                          test::referenceHash160(
                              Bytes(keys.begin() + i * length, keys.begin() + (i + 1) * length)))
                    << "key " << i << " of " << count << ", length " << length;
        }
}

INSTANTIATE_TEST_SUITE_P(AllBackends, HashBatch, ::testing::ValuesIn(kAllHashBackends));

TEST(HashBackendChoice, NamesRoundTripAndTheChosenOneIsSupported) {
    for (HashBackend backend : kAllHashBackends)
        EXPECT_EQ(hashBackendFromName(hashBackendName(backend)), backend);
    EXPECT_FALSE(hashBackendFromName("sse9").has_value());
    EXPECT_TRUE(hashBackendSupported(fastestHashBackend()));
    EXPECT_TRUE(hashBackendSupported(hash160BatchBackend()));
    EXPECT_STREQ(hashBackendName(), hashBackendName(hash160BatchBackend()));
}

} // namespace
} // namespace tarwick::engine
