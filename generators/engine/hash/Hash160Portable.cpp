// The portable instantiation of the batched hashes: what every CPU runs when nothing wider is
// available, and the baseline the wider paths are measured against.

#include "engine/hash/detail/Hash160Lanes.h"
#include "engine/hash/detail/Kernels.h"
#include "engine/hash/detail/ScalarOps.h"

namespace tarwick::engine::hash_detail {

void hash160KeysPortable(const std::uint8_t* keys, std::size_t length, std::size_t count,
                         std::uint8_t* out) {
    Hash160Lanes<ScalarOps>::hashKeysAnyCount(keys, length, count, out);
}

void ripemd160DigestsPortable(const std::uint8_t* digests, std::size_t count, std::uint8_t* out) {
    Hash160Lanes<ScalarOps>::ripemdOfDigestsAnyCount(digests, count, out);
}

} // namespace tarwick::engine::hash_detail
