#include "engine/ec/Point.h"

#include "engine/ec/detail/Checks.h"

#include <initializer_list>

namespace tarwick::engine {

namespace {

FieldElement twice(const FieldElement& a) {
    return fieldAdd(a, a);
}

constexpr FieldElement kCurveB = FieldElement::fromUint64(7);

bool allReduced(std::initializer_list<FieldElement> values) {
    for (const FieldElement& v : values) {
        if (!fieldIsReduced(v)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool pointIsValid(const AffinePoint& p) {
    if (p.infinity) {
        return true;
    }
    return allReduced({p.x, p.y}) &&
           fieldSqr(p.y) == fieldAdd(fieldMul(fieldSqr(p.x), p.x), kCurveB);
}

bool pointIsValid(const JacobianPoint& p) {
    if (p.infinity) {
        return true;
    }
    if (!allReduced({p.x, p.y, p.z}) || p.z.isZero()) {
        return false;
    }
    // Y^2 = X^3 + 7 Z^6
    const FieldElement z2 = fieldSqr(p.z);
    const FieldElement z6 = fieldMul(fieldSqr(z2), z2);
    return fieldSqr(p.y) == fieldAdd(fieldMul(fieldSqr(p.x), p.x), fieldMul(kCurveB, z6));
}

const AffinePoint& generatorPoint() {
    static const AffinePoint g = {{{0x59F2815B16F81798ULL, 0x029BFCDB2DCE28D9ULL,
                                    0x55A06295CE870B07ULL, 0x79BE667EF9DCBBACULL}},
                                  {{0x9C47D08FFB10D4B8ULL, 0xFD17B448A6855419ULL,
                                    0x5DA4FBFC0E1108A8ULL, 0x483ADA7726A3C465ULL}},
                                  false};
    return g;
}

JacobianPoint toJacobian(const AffinePoint& p) {
    TARWICK_ENGINE_CHECK(pointIsValid(p));
    return {p.x, p.y, FieldElement::fromUint64(1), p.infinity};
}

AffinePoint toAffine(const JacobianPoint& p) {
    TARWICK_ENGINE_CHECK(pointIsValid(p));
    if (p.infinity) {
        return {FieldElement::fromUint64(0), FieldElement::fromUint64(0), true};
    }
    const FieldElement zInverse = fieldInverse(p.z);
    const FieldElement zInverse2 = fieldSqr(zInverse);
    const FieldElement zInverse3 = fieldMul(zInverse2, zInverse);
    return {fieldMul(p.x, zInverse2), fieldMul(p.y, zInverse3), false};
}

JacobianPoint pointDouble(const JacobianPoint& p) {
    // The curve has no point of order two, so y is never zero for a finite point.
    TARWICK_ENGINE_CHECK(pointIsValid(p));
    if (p.infinity) {
        return p;
    }
    // S = 4 X Y^2, M = 3 X^2, X' = M^2 - 2 S, Y' = M (S - X') - 8 Y^4, Z' = 2 Y Z.
    const FieldElement y2 = fieldSqr(p.y);
    const FieldElement s = twice(twice(fieldMul(p.x, y2)));
    const FieldElement x2 = fieldSqr(p.x);
    const FieldElement m = fieldAdd(twice(x2), x2);
    JacobianPoint r;
    r.x = fieldSub(fieldSqr(m), twice(s));
    const FieldElement y4 = fieldSqr(y2);
    r.y = fieldSub(fieldMul(m, fieldSub(s, r.x)), twice(twice(twice(y4))));
    r.z = twice(fieldMul(p.y, p.z));
    r.infinity = false;
    TARWICK_ENGINE_CHECK(pointIsValid(r));
    return r;
}

JacobianPoint pointAdd(const JacobianPoint& p, const AffinePoint& q) {
    TARWICK_ENGINE_CHECK(pointIsValid(p) && pointIsValid(q));
    if (q.infinity) {
        return p;
    }
    if (p.infinity) {
        return toJacobian(q);
    }
    // U2 = x2 Z1^2, S2 = y2 Z1^3, H = U2 - X1, R = S2 - Y1.
    const FieldElement z1z1 = fieldSqr(p.z);
    const FieldElement u2 = fieldMul(q.x, z1z1);
    const FieldElement s2 = fieldMul(q.y, fieldMul(z1z1, p.z));
    const FieldElement h = fieldSub(u2, p.x);
    const FieldElement r = fieldSub(s2, p.y);
    if (h.isZero()) {
        if (r.isZero()) {
            return pointDouble(p);
        }
        return {FieldElement::fromUint64(0), FieldElement::fromUint64(0),
                FieldElement::fromUint64(0), true};
    }
    // X3 = R^2 - H^3 - 2 X1 H^2, Y3 = R (X1 H^2 - X3) - Y1 H^3, Z3 = Z1 H.
    const FieldElement h2 = fieldSqr(h);
    const FieldElement h3 = fieldMul(h2, h);
    const FieldElement x1h2 = fieldMul(p.x, h2);
    JacobianPoint out;
    out.x = fieldSub(fieldSub(fieldSqr(r), h3), twice(x1h2));
    out.y = fieldSub(fieldMul(r, fieldSub(x1h2, out.x)), fieldMul(p.y, h3));
    out.z = fieldMul(p.z, h);
    out.infinity = false;
    TARWICK_ENGINE_CHECK(pointIsValid(out));
    return out;
}

AffinePoint pointNegate(const AffinePoint& p) {
    TARWICK_ENGINE_CHECK(pointIsValid(p));
    if (p.infinity) {
        return p;
    }
    return {p.x, fieldNegate(p.y), false};
}

AffinePoint multiplyGenerator(const Scalar& k) {
    // Left-to-right double and add. Used once per walker start, never in the hot loop.
    TARWICK_ENGINE_CHECK(scalarIsReduced(k));
    JacobianPoint acc{FieldElement::fromUint64(0), FieldElement::fromUint64(0),
                      FieldElement::fromUint64(0), true};
    for (int i = 255; i >= 0; --i) {
        acc = pointDouble(acc);
        if (k.bit(static_cast<unsigned>(i))) {
            acc = pointAdd(acc, generatorPoint());
        }
    }
    return toAffine(acc);
}

void serializePoint(const AffinePoint& p, bool compressed, std::uint8_t* out) {
    TARWICK_ENGINE_CHECK(!p.infinity && pointIsValid(p));
    if (compressed) {
        out[0] = p.y.isOdd() ? 0x03 : 0x02;
        p.x.toBytes(out + 1);
    } else {
        out[0] = 0x04;
        p.x.toBytes(out + 1);
        p.y.toBytes(out + 33);
    }
}

} // namespace tarwick::engine
