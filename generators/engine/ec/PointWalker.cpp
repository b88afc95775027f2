#include "engine/ec/PointWalker.h"

#include <stdexcept>

namespace tarwick::engine {

namespace {

// The sum of two affine points whose x differ, given 1 / (x2 - x1).
AffinePoint addWithInverse(const AffinePoint& p, const FieldElement& qx, const FieldElement& qy,
                           const FieldElement& inverseDx) {
    const FieldElement slope = fieldMul(fieldSub(qy, p.y), inverseDx);
    AffinePoint r;
    r.x = fieldSub(fieldSub(fieldSqr(slope), p.x), qx);
    r.y = fieldSub(fieldMul(slope, fieldSub(p.x, r.x)), p.y);
    r.infinity = false;
    return r;
}

} // namespace

PointWalker::PointWalker(std::size_t half)
    : half_(half), multiples_(half), firstKey_(Scalar::fromUint64(1)), dx_(half + 1),
      scratch_(half + 1) {
    if (half == 0) {
        throw std::invalid_argument("PointWalker needs a batch of at least two points");
    }
    JacobianPoint acc = toJacobian(generatorPoint());
    multiples_[0] = generatorPoint();
    for (std::size_t i = 1; i < half; ++i) {
        acc = pointAdd(acc, generatorPoint());
        multiples_[i] = toAffine(acc);
    }
    step_ = toAffine(pointDouble(acc));
    start(Scalar::fromUint64(1));
}

void PointWalker::start(const Scalar& firstKey) {
    if (firstKey.isZero() || scalarCompare(firstKey, kGroupOrder) >= 0) {
        throw std::invalid_argument("a walk starts at a key between 1 and n - 1");
    }
    firstKey_ = firstKey;
    if (!scalarRangeFits(firstKey_, batchSize())) {
        firstKey_ = Scalar::fromUint64(1);
    }
    computeCentre();
}

void PointWalker::computeCentre() {
    centre_ = multiplyGenerator(scalarAdd(firstKey_, Scalar::fromUint64(half_ - 1)));
}

void PointWalker::next(AffinePoint* out) {
    // dx_[i] = x((i+1) G) - x(C) for i < half; dx_[half] = x(step) - x(C).
    for (std::size_t i = 0; i < half_; ++i) {
        dx_[i] = fieldSub(multiples_[i].x, centre_.x);
    }
    dx_[half_] = fieldSub(step_.x, centre_.x);
    const bool fast = batchInverse(dx_.data(), half_ + 1, scratch_.data());
    if (fast) {
        AffinePoint* centreOut = out + (half_ - 1);
        *centreOut = centre_;
        for (std::size_t i = 0; i < half_; ++i) {
            const AffinePoint& m = multiples_[i];
            // C + (i+1) G
            centreOut[i + 1] = addWithInverse(centre_, m.x, m.y, dx_[i]);
            // C - (i+1) G, which belongs to the batch for i + 1 < half
            if (i + 1 < half_) {
                *(centreOut - (i + 1)) = addWithInverse(centre_, m.x, fieldNegate(m.y), dx_[i]);
            }
        }
        centre_ = addWithInverse(centre_, step_.x, step_.y, dx_[half_]);
    } else {
        // C = +-i G for some i <= half: only keys next to 0 or n get here.
        slowBatch(out);
    }
    const Scalar advanced = scalarAdd(firstKey_, Scalar::fromUint64(batchSize()));
    const bool wraps = advanced.isZero() || !scalarRangeFits(advanced, batchSize());
    firstKey_ = wraps ? Scalar::fromUint64(1) : advanced;
    if (wraps || !fast) {
        computeCentre();
    }
}

void PointWalker::slowBatch(AffinePoint* out) {
    JacobianPoint acc = toJacobian(multiplyGenerator(firstKey_));
    for (std::size_t i = 0; i < batchSize(); ++i) {
        out[i] = toAffine(acc);
        acc = pointAdd(acc, generatorPoint());
    }
}

} // namespace tarwick::engine
