// Every backend of hash160Batch against OpenSSL, on batches that fill the lanes and that do
// not. (SHA-256 alone is met by the Base58Check checks.)

#include "EcReference.h"
#include "engine/hash/Hash160.h"

#include <gtest/gtest.h>

namespace tarwick::engine {
namespace {

using test::Bytes;

class HashBatch : public ::testing::TestWithParam<HashBackend> {};

// The lengths of both public-key forms and others; a guard byte catches a write past the end.
TEST_P(HashBatch, AgreesWithOpenSsl) {
    if (!hashBackendSupported(GetParam())) {
        GTEST_SKIP() << "this CPU lacks " << hashBackendName(GetParam());
    }
    test::TestRandom random(33);
    for (std::size_t length : {33, 65, 0, 1, 32, 34, 64, 100}) {
        for (std::size_t count : {0, 1, 2, 3, 5, 7, 8, 9, 13, 15, 16, 17, 24, 31, 33, 47, 257}) {
            Bytes keys = random.bytes(length * count + 1);
            Bytes out(count * 20 + 1, 0xa5);
            hash160BatchWith(GetParam(), keys.data(), length, count, out.data());
            ASSERT_EQ(out.back(), 0xa5) << "wrote past the end, count " << count;
            for (std::size_t i = 0; i < count; ++i) {
                ASSERT_EQ(Bytes(out.begin() + i * 20, out.begin() + i * 20 + 20),
                          test::referenceHash160(
                              Bytes(keys.begin() + i * length, keys.begin() + (i + 1) * length)))
                    << "key " << i << " of " << count << ", length " << length;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllBackends, HashBatch, ::testing::ValuesIn(kAllHashBackends));

} // namespace
} // namespace tarwick::engine
