// Every backend of hash160Batch against OpenSSL, on random public-key-sized inputs and on
// batch sizes that do not fill the lanes.

#include "ec_reference.h"
#include "engine/hash/Hash160.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <random>
#include <string>
#include <vector>

namespace {

using tarwick::engine::HashBackend;

std::vector<std::uint8_t> opensslHash160(const std::uint8_t* data, std::size_t length) {
    std::uint8_t sha[32];
    unsigned int n = 0;
    EVP_Digest(data, length, sha, &n, EVP_sha256(), nullptr);
    EVP_MD* ripemd = EVP_MD_fetch(nullptr, "RIPEMD160", nullptr);
    if (ripemd == nullptr)
        throw std::runtime_error("OpenSSL lacks RIPEMD160");
    std::vector<std::uint8_t> out(20);
    EVP_Digest(sha, sizeof sha, out.data(), &n, ripemd, nullptr);
    EVP_MD_free(ripemd);
    return out;
}

class HashBatch : public ::testing::TestWithParam<HashBackend> {
protected:
    void SetUp() override {
        if (!tarwick::engine::hashBackendSupported(GetParam()))
            GTEST_SKIP() << "this CPU lacks " << tarwick::engine::hashBackendName(GetParam());
    }

    // Random keys of `length` bytes (first byte as a real key would have it), hashed in one
    // batch of `count`, compared one by one with OpenSSL.
    void checkBatch(std::size_t length, std::size_t count, std::mt19937_64& rng) {
        std::vector<std::uint8_t> keys(length * count);
        for (auto& byte : keys)
            byte = static_cast<std::uint8_t>(rng());
        for (std::size_t i = 0; i < count; ++i)
            keys[i * length] = length == 33 ? static_cast<std::uint8_t>(2 + (rng() & 1)) : 4;
        // A guard byte after the output catches a write past count * 20.
        std::vector<std::uint8_t> out(count * 20 + 1, 0xa5);
        tarwick::engine::hash160BatchWith(GetParam(), keys.data(), length, count, out.data());
        ASSERT_EQ(out[count * 20], 0xa5) << "wrote past the end, count " << count;
        for (std::size_t i = 0; i < count; ++i) {
            const auto expect = opensslHash160(keys.data() + i * length, length);
            ASSERT_EQ(0, std::memcmp(out.data() + i * 20, expect.data(), 20))
                << "key " << i << " of " << count << ", length " << length;
        }
    }
};

TEST_P(HashBatch, CompressedKeysAgreeWithOpenSsl) {
    auto rng = tarwick::test::randomEngine(33);
    for (std::size_t count : {1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 33, 47, 100, 257, 1000})
        checkBatch(33, count, rng);
}

TEST_P(HashBatch, UncompressedKeysAgreeWithOpenSsl) {
    auto rng = tarwick::test::randomEngine(65);
    for (std::size_t count : {1, 2, 5, 8, 13, 16, 17, 24, 40, 63, 255, 1000})
        checkBatch(65, count, rng);
}

TEST_P(HashBatch, EmptyBatchWritesNothing) {
    std::uint8_t out = 0x5a;
    tarwick::engine::hash160BatchWith(GetParam(), nullptr, 33, 0, &out);
    EXPECT_EQ(out, 0x5a);
}

TEST_P(HashBatch, AgreesWithSingleHash160) {
    auto rng = tarwick::test::randomEngine(7);
    std::vector<std::uint8_t> keys(65 * 19);
    for (auto& byte : keys)
        byte = static_cast<std::uint8_t>(rng());
    std::vector<std::uint8_t> out(19 * 20);
    tarwick::engine::hash160BatchWith(GetParam(), keys.data(), 65, 19, out.data());
    for (std::size_t i = 0; i < 19; ++i) {
        std::uint8_t single[20];
        tarwick::engine::hash160(keys.data() + i * 65, 65, single);
        EXPECT_EQ(0, std::memcmp(single, out.data() + i * 20, 20)) << i;
    }
}

TEST_P(HashBatch, OtherKeyLengthsAreHashedToo) {
    auto rng = tarwick::test::randomEngine(20);
    for (std::size_t length : {0, 1, 32, 34, 64, 100}) {
        std::vector<std::uint8_t> keys(length * 5 + 1);
        for (auto& byte : keys)
            byte = static_cast<std::uint8_t>(rng());
        std::vector<std::uint8_t> out(5 * 20);
        tarwick::engine::hash160BatchWith(GetParam(), keys.data(), length, 5, out.data());
        for (std::size_t i = 0; i < 5; ++i) {
            const auto expect = opensslHash160(keys.data() + i * length, length);
            ASSERT_EQ(0, std::memcmp(out.data() + i * 20, expect.data(), 20)) << length;
        }
    }
}

std::string backendTestName(const ::testing::TestParamInfo<HashBackend>& info) {
    std::string name = tarwick::engine::hashBackendName(info.param);
    for (char& c : name)
        if (c == '-' || c == '+')
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(AllBackends, HashBatch,
                         ::testing::ValuesIn(tarwick::engine::kAllHashBackends), backendTestName);

TEST(HashBackendChoice, NamesRoundTripAndTheDefaultIsSupported) {
    for (HashBackend backend : tarwick::engine::kAllHashBackends) {
        const auto parsed =
            tarwick::engine::hashBackendFromName(tarwick::engine::hashBackendName(backend));
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, backend);
    }
    EXPECT_FALSE(tarwick::engine::hashBackendFromName("sse9").has_value());
    EXPECT_TRUE(tarwick::engine::hashBackendSupported(HashBackend::Scalar));
    EXPECT_TRUE(tarwick::engine::hashBackendSupported(tarwick::engine::fastestHashBackend()));
    EXPECT_TRUE(tarwick::engine::hashBackendSupported(tarwick::engine::hash160BatchBackend()));
    EXPECT_STREQ(tarwick::engine::hashBackendName(),
                 tarwick::engine::hashBackendName(tarwick::engine::hash160BatchBackend()));
}

} // namespace
