#pragma once

#include "engine/ec/Point.h"
#include "engine/ec/Scalar.h"

#include <cstddef>
#include <vector>

namespace tarwick::pool {

// Walks the points B + k*G, B + (k+1)*G, ... from an arbitrary point B (the requester's
// public key), where the engine's walker only starts from a scalar. A batch of 2*half + 1
// points is centred on C and built as C +- i*G from a table of i*G: each pair shares the
// inverse of x(i*G) - x(C), and one field inversion serves the whole batch (Montgomery's
// trick). The rare batch where that breaks down (C the point at infinity or C = +-i*G, that
// is the full key near 0 or n) is built with complete additions instead. Offsets wrap
// modulo n like the points do.
class SplitKeyWalker {
public:
    explicit SplitKeyWalker(std::size_t half = 256);

    std::size_t batchSize() const { return 2 * half_ + 1; }

    // The next batch starts at base + firstOffset*G.
    void start(const engine::AffinePoint& base, const engine::Scalar& firstOffset);

    // The offset k of the first point that next() will write.
    const engine::Scalar& firstOffset() const { return firstOffset_; }

    // Writes batchSize() points, the i-th being base + (firstOffset() + i)*G (possibly the
    // point at infinity), and moves on by batchSize().
    void next(engine::AffinePoint* out);

private:
    void slowBatch(engine::AffinePoint* out);

    std::size_t half_;
    std::vector<engine::AffinePoint> multiples_; // multiples_[i] = (i + 1) * G, i < half
    engine::AffinePoint step_;                   // (2 * half + 1) * G
    engine::Scalar firstOffset_{};
    engine::AffinePoint centre_; // base + (firstOffset_ + half) * G
    std::vector<engine::FieldElement> dx_;
    std::vector<engine::FieldElement> scratch_;
};

} // namespace tarwick::pool
