// PointWalker's batch on eight lanes of IFMA field arithmetic. Only the *Ifma.cpp files are
// compiled for AVX-512 IFMA (through the target pragma, not a global -m flag), and they run
// only after the run-time check in FieldBackend.cpp.

#include "engine/ec/FieldBackend.h"
#include "engine/ec/detail/WalkerLanes.h"

#pragma GCC push_options
#pragma GCC target("avx512f,avx512ifma")
// GCC 12's shift and logic intrinsics pass _mm512_undefined_epi32() (a self-initialised
// variable) as the unused merge source, which its own -Wuninitialized then reports once inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "engine/ec/detail/FieldLanes.h"

namespace tarwick::engine::walker_lanes {

namespace {

using field_lanes::Lanes;

// The sum of the centre and a multiple (mx, my), given 1 / (mx - cx).
inline void addWithInverse(const Lanes& cx, const Lanes& cy, const Lanes& mx, const Lanes& my,
                           const Lanes& inverse, Lanes& x, Lanes& y) {
    using namespace field_lanes;
    const Lanes slope = mul(sub(my, cy), inverse);
    x = sub(sub(sqr(slope), cx), mx);
    y = sub(mul(slope, sub(cx, x)), cy);
}

} // namespace

std::vector<std::uint64_t> makeTables(const std::vector<AffinePoint>& multiples) {
    const std::size_t groups = multiples.size() / kLanes;
    std::vector<std::uint64_t> tables(groups * kGroupWords);
    for (std::size_t g = 0; g < groups; ++g) {
        const AffinePoint* m = &multiples[g * kLanes];
        const field_lanes::Lanes x = field_lanes::gather(&m->x, sizeof(AffinePoint));
        const field_lanes::Lanes y = field_lanes::gather(&m->y, sizeof(AffinePoint));
        std::uint64_t* group = tables.data() + g * kGroupWords;
        field_lanes::store(x, group);
        field_lanes::store(y, group + kElementWords);
        field_lanes::store(field_lanes::sub(field_lanes::broadcast(FieldElement{}), y),
                           group + 2 * kElementWords);
    }
    return tables;
}

bool batch(const std::uint64_t* tables, std::size_t groups, std::uint64_t* scratch,
           const AffinePoint& centre, const AffinePoint& step, AffinePoint* centreOut,
           FieldElement& stepInverse) {
    using namespace field_lanes;
    const Lanes cx = broadcast(centre.x);
    const Lanes cy = broadcast(centre.y);
    // dx of group g and lane j: x((8g + j + 1) G) - x(C); products[g] = dx[0] * ... * dx[g]
    // lane by lane.
    std::uint64_t* dx = scratch;
    std::uint64_t* products = scratch + groups * kElementWords;
    Lanes product = sub(load(tables), cx);
    store(product, dx);
    store(product, products);
    for (std::size_t g = 1; g < groups; ++g) {
        const Lanes d = sub(load(tables + g * kGroupWords), cx);
        store(d, dx + g * kElementWords);
        product = mul(product, d);
        store(product, products + g * kElementWords);
    }
    // The eight totals and the step's dx inverted together; a zero among them means some
    // dx is zero.
    FieldElement totals[kLanes + 1];
    scatter(product, totals, sizeof(FieldElement), 0xFF);
    totals[kLanes] = fieldSub(step.x, centre.x);
    FieldElement inverseScratch[kLanes + 1];
    if (!batchInverse(totals, kLanes + 1, inverseScratch, FieldBackend::MulxAdx)) {
        return false;
    }
    stepInverse = totals[kLanes];
    Lanes inverse = gather(totals, sizeof(FieldElement));
    for (std::size_t g = groups; g-- > 0;) {
        // inverse is 1 / products[g]; the inverse of dx[g] is that times products[g - 1].
        const Lanes d = load(dx + g * kElementWords);
        const Lanes inverseOfThis =
            g > 0 ? mul(inverse, load(products + (g - 1) * kElementWords)) : inverse;
        if (g > 0) {
            inverse = mul(inverse, d);
        }
        const std::uint64_t* group = tables + g * kGroupWords;
        const Lanes mx = load(group);
        Lanes x, y;
        // C + (i + 1) G, i = 8g + lane
        addWithInverse(cx, cy, mx, load(group + kElementWords), inverseOfThis, x, y);
        AffinePoint* plus = centreOut + g * kLanes + 1;
        scatter(x, &plus->x, sizeof(AffinePoint), 0xFF);
        scatter(y, &plus->y, sizeof(AffinePoint), 0xFF);
        // C - (i + 1) G, which belongs to the batch for i + 1 < half
        addWithInverse(cx, cy, mx, load(group + 2 * kElementWords), inverseOfThis, x, y);
        AffinePoint* minus = centreOut - (g * kLanes + 1);
        const __mmask8 keep = g + 1 < groups ? 0xFF : 0x7F;
        scatter(x, &minus->x, -static_cast<std::ptrdiff_t>(sizeof(AffinePoint)), keep);
        scatter(y, &minus->y, -static_cast<std::ptrdiff_t>(sizeof(AffinePoint)), keep);
    }
    for (std::size_t i = 0; i < groups * kLanes; ++i) {
        centreOut[i + 1].infinity = false;
        if (i + 1 < groups * kLanes) {
            (centreOut - (i + 1))->infinity = false;
        }
    }
    *centreOut = centre;
    return true;
}

} // namespace tarwick::engine::walker_lanes

#pragma GCC diagnostic pop
#pragma GCC pop_options
