#include "pool/SplitKeyWalker.h"

#include <stdexcept>

namespace tarwick::pool {

using engine::AffinePoint;
using engine::FieldElement;
using engine::JacobianPoint;
using engine::Scalar;

namespace {

// p + (qx, qy) for points with different x, given 1 / (qx - x(p)).
AffinePoint addWithInverse(const AffinePoint& p, const FieldElement& qx, const FieldElement& qy,
                           const FieldElement& inverseDx) {
    const FieldElement slope = engine::fieldMul(engine::fieldSub(qy, p.y), inverseDx);
    AffinePoint r;
    r.x = engine::fieldSub(engine::fieldSub(engine::fieldSqr(slope), p.x), qx);
    r.y = engine::fieldSub(engine::fieldMul(slope, engine::fieldSub(p.x, r.x)), p.y);
    r.infinity = false;
    return r;
}

AffinePoint add(const AffinePoint& p, const AffinePoint& q) {
    return engine::toAffine(engine::pointAdd(engine::toJacobian(p), q));
}

} // namespace

SplitKeyWalker::SplitKeyWalker(std::size_t half)
    : half_(half), multiples_(half), dx_(half + 1), scratch_(half + 1) {
    if (half == 0) {
        throw std::invalid_argument("a split-key walk needs at least one point on either side");
    }
    JacobianPoint acc = engine::toJacobian(engine::generatorPoint());
    multiples_[0] = engine::generatorPoint();
    for (std::size_t i = 1; i < half; ++i) {
        acc = engine::pointAdd(acc, engine::generatorPoint());
        multiples_[i] = engine::toAffine(acc);
    }
    step_ = engine::toAffine(engine::pointAdd(engine::pointDouble(acc), engine::generatorPoint()));
    start(engine::generatorPoint(), Scalar::fromUint64(0));
}

void SplitKeyWalker::start(const AffinePoint& base, const Scalar& firstOffset) {
    firstOffset_ = firstOffset;
    centre_ = add(
        base, engine::multiplyGenerator(engine::scalarAdd(firstOffset, Scalar::fromUint64(half_))));
}

void SplitKeyWalker::next(AffinePoint* out) {
    bool fast = !centre_.infinity;
    if (fast) {
        for (std::size_t i = 0; i < half_; ++i) {
            dx_[i] = engine::fieldSub(multiples_[i].x, centre_.x);
        }
        dx_[half_] = engine::fieldSub(step_.x, centre_.x);
        fast = engine::batchInverse(dx_.data(), half_ + 1, scratch_.data());
    }
    if (fast) {
        AffinePoint* centreOut = out + half_;
        *centreOut = centre_;
        for (std::size_t i = 0; i < half_; ++i) {
            const AffinePoint& m = multiples_[i];
            centreOut[i + 1] = addWithInverse(centre_, m.x, m.y, dx_[i]);
            *(centreOut - (i + 1)) = addWithInverse(centre_, m.x, engine::fieldNegate(m.y), dx_[i]);
        }
        centre_ = addWithInverse(centre_, step_.x, step_.y, dx_[half_]);
    } else {
        slowBatch(out);
    }
    firstOffset_ = engine::scalarAdd(firstOffset_, Scalar::fromUint64(batchSize()));
}

void SplitKeyWalker::slowBatch(AffinePoint* out) {
    JacobianPoint acc =
        engine::pointAdd(engine::toJacobian(centre_), engine::pointNegate(multiples_[half_ - 1]));
    for (std::size_t i = 0; i < batchSize(); ++i) {
        out[i] = engine::toAffine(acc);
        acc = engine::pointAdd(acc, engine::generatorPoint());
    }
    centre_ = add(centre_, step_);
}

} // namespace tarwick::pool
