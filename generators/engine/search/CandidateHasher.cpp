#include "engine/search/CandidateHasher.h"

#include "engine/ec/Candidates.h"
#include "engine/hash/Hash160.h"
#include "engine/search/detail/CandidateLanes.h"

#include <algorithm>

namespace tarwick::engine {

namespace {

constexpr std::size_t kHashSize = 20;

} // namespace

CandidateHasher::CandidateHasher(bool compressed, FieldBackend field, HashBackend hash)
    : compressed_(compressed), field_(field), hash_(hash),
      inLanes_(field == FieldBackend::Ifma && hash == HashBackend::Avx512 &&
               fieldBackendSupported(field) && hashBackendSupported(hash)) {}

void CandidateHasher::hash(const AffinePoint* points, std::size_t count, std::uint8_t* out) {
    const std::size_t perPoint = kCandidatesPerPoint * kHashSize;
    if (inLanes_) {
        std::size_t done = 0;
        for (; done + candidate_lanes::kPoints <= count; done += candidate_lanes::kPoints) {
            candidate_lanes::hashPoints(points + done, compressed_, out + done * perPoint);
        }
        if (done < count) {
            // The last few points padded with copies of the first one.
            AffinePoint padded[candidate_lanes::kPoints];
            std::fill(std::copy(points + done, points + count, padded),
                      padded + candidate_lanes::kPoints, points[done]);
            std::uint8_t hashes[candidate_lanes::kPoints * kCandidatesPerPoint * kHashSize];
            candidate_lanes::hashPoints(padded, compressed_, hashes);
            std::copy(hashes, hashes + (count - done) * perPoint, out + done * perPoint);
        }
        return;
    }
    const std::size_t keySize = compressed_ ? kCompressedKeySize : kUncompressedKeySize;
    keys_.resize(count * kCandidatesPerPoint * keySize);
    for (std::size_t i = 0; i < count; ++i) {
        writeCandidateKeys(points[i], compressed_, keys_.data() + i * kCandidatesPerPoint * keySize,
                           field_);
    }
    hash160BatchWith(hash_, keys_.data(), keySize, count * kCandidatesPerPoint, out);
}

} // namespace tarwick::engine
