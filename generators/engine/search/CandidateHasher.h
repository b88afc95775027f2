#pragma once

#include "engine/ec/FieldBackend.h"
#include "engine/ec/Point.h"
#include "engine/hash/HashBackend.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarwick::engine {

// hash160 of the six candidate public keys of each point (see Candidates.h). With the IFMA
// field code and the AVX-512 hashes, eight points at a time go from the field lanes straight
// into the hash lanes as rows of key words, without serialising a key; otherwise the keys are
// written (writeCandidateKeys) and hashed as a batch (hash160BatchWith).
class CandidateHasher {
public:
    CandidateHasher(bool compressed, FieldBackend field, HashBackend hash);

    // Candidate c of point i (CandidateKind order) gets its 20 bytes at out + (6 i + c) * 20.
    void hash(const AffinePoint* points, std::size_t count, std::uint8_t* out);

private:
    bool compressed_;
    FieldBackend field_;
    HashBackend hash_;
    bool inLanes_;
    std::vector<std::uint8_t> keys_;
};

} // namespace tarwick::engine
