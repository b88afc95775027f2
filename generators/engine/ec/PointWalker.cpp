#include "engine/ec/PointWalker.h"

#include "engine/ec/detail/Checks.h"
#include "engine/ec/detail/WalkerLanes.h"

#include <stdexcept>

namespace tarwick::engine {

namespace {

// The sum of two affine points whose x differ, given 1 / (x2 - x1).
template <typename Ops>
AffinePoint addWithInverse(const AffinePoint& p, const FieldElement& qx, const FieldElement& qy,
                           const FieldElement& inverseDx) {
    const FieldElement slope = Ops::mul(fieldSub(qy, p.y), inverseDx);
    AffinePoint r;
    r.x = fieldSub(fieldSub(Ops::sqr(slope), p.x), qx);
    r.y = fieldSub(Ops::mul(slope, fieldSub(p.x, r.x)), p.y);
    r.infinity = false;
    return r;
}

} // namespace

PointWalker::PointWalker(std::size_t half, FieldBackend backend)
    : half_(half), backend_(backend), multiples_(half), negatedY_(half),
      firstKey_(Scalar::fromUint64(1)), dx_(half + 1), scratch_(half + 1) {
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
    for (std::size_t i = 0; i < half; ++i) {
        negatedY_[i] = fieldNegate(multiples_[i].y);
    }
    if (backend_ == FieldBackend::Ifma && half % walker_lanes::kLanes == 0) {
        laneTables_ = walker_lanes::makeTables(multiples_);
        laneScratch_.resize(2 * half / walker_lanes::kLanes * walker_lanes::kElementWords);
    }
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

template <typename Ops>
bool PointWalker::fastBatch(AffinePoint* out) {
    // dx_[i] = x((i+1) G) - x(C) for i < half; dx_[half] = x(step) - x(C).
    for (std::size_t i = 0; i < half_; ++i) {
        dx_[i] = fieldSub(multiples_[i].x, centre_.x);
    }
    dx_[half_] = fieldSub(step_.x, centre_.x);
    if (!batchInverseWith<Ops>(dx_.data(), half_ + 1, scratch_.data())) {
        return false;
    }
    AffinePoint* centreOut = out + (half_ - 1);
    *centreOut = centre_;
    for (std::size_t i = 0; i < half_; ++i) {
        const AffinePoint& m = multiples_[i];
        // C + (i+1) G
        centreOut[i + 1] = addWithInverse<Ops>(centre_, m.x, m.y, dx_[i]);
        // C - (i+1) G, which belongs to the batch for i + 1 < half
        if (i + 1 < half_) {
            *(centreOut - (i + 1)) = addWithInverse<Ops>(centre_, m.x, negatedY_[i], dx_[i]);
        }
    }
    centre_ = addWithInverse<Ops>(centre_, step_.x, step_.y, dx_[half_]);
    return true;
}

bool PointWalker::fastBatchInLanes(AffinePoint* out) {
    FieldElement stepInverse;
    if (!walker_lanes::batch(laneTables_.data(), half_ / walker_lanes::kLanes, laneScratch_.data(),
                             centre_, step_, out + (half_ - 1), stepInverse)) {
        return false;
    }
    centre_ = withFieldOps(FieldBackend::MulxAdx, [&](auto ops) {
        return addWithInverse<decltype(ops)>(centre_, step_.x, step_.y, stepInverse);
    });
    return true;
}

void PointWalker::next(AffinePoint* out) {
    const bool fast =
        !laneTables_.empty()
            ? fastBatchInLanes(out)
            : withFieldOps(backend_, [&](auto ops) { return fastBatch<decltype(ops)>(out); });
    if (!fast) {
        // C = +-i G for some i <= half: only keys next to 0 or n get here.
        slowBatch(out);
    }
    if constexpr (detail::kEngineChecks) {
        for (std::size_t i = 0; i < batchSize(); ++i) {
            TARWICK_ENGINE_CHECK(!out[i].infinity && pointIsValid(out[i]));
        }
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
