#pragma once

#include "engine/ec/FieldBackend.h"
#include "engine/ec/Point.h"

#include <cstddef>
#include <vector>

namespace tarwick::engine {

// Walks the points of consecutive keys k, k+1, k+2, ... in batches of 2*half points.
// A batch is centred on C = c*G and built as C - i*G and C + i*G from a table of i*G,
// so each pair shares one inverse of x(i*G) - x(C), and all of a batch's inverses come
// from one field inversion (Montgomery's trick). The next centre is C + 2*half*G.
class PointWalker {
public:
    explicit PointWalker(std::size_t half = 512, FieldBackend backend = fieldBackendInUse());

    std::size_t batchSize() const { return 2 * half_; }

    // Starts the walk at the given key (1 <= key < n).
    void start(const Scalar& firstKey);

    // The key of the first point that next() will write.
    const Scalar& firstKey() const { return firstKey_; }

    // Writes batchSize() affine points, the i-th for firstKey() + i, and moves on by
    // batchSize() keys. Should the following range reach n, the walk goes on from key 1.
    void next(AffinePoint* out);

private:
    template <typename Ops>
    bool fastBatch(AffinePoint* out);
    bool fastBatchInLanes(AffinePoint* out);
    void computeCentre();
    void slowBatch(AffinePoint* out);

    std::size_t half_;
    FieldBackend backend_;
    std::vector<AffinePoint> multiples_; // multiples_[i] = (i + 1) * G, i < half
    std::vector<FieldElement> negatedY_; // -y of multiples_[i]
    AffinePoint step_;                   // 2 * half * G
    Scalar firstKey_;
    AffinePoint centre_; // (firstKey_ + half - 1) * G
    std::vector<FieldElement> dx_;
    std::vector<FieldElement> scratch_;
    // The IFMA backend's copy of the multiples and its scratch (empty unless it is used).
    std::vector<std::uint64_t> laneTables_;
    std::vector<std::uint64_t> laneScratch_;
};

} // namespace tarwick::engine
