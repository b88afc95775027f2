#pragma once

#include "engine/ec/Field.h"
#include "engine/ec/Scalar.h"

#include <cstddef>
#include <cstdint>

namespace tarwick::engine {

// A point of y^2 = x^3 + 7 in affine coordinates, or the point at infinity.
struct AffinePoint {
    FieldElement x;
    FieldElement y;
    bool infinity = false;

    friend bool operator==(const AffinePoint&, const AffinePoint&) = default;
};

// Jacobian coordinates (X, Y, Z) for the affine point (X / Z^2, Y / Z^3).
struct JacobianPoint {
    FieldElement x;
    FieldElement y;
    FieldElement z;
    bool infinity = false;
};

// True for the point at infinity and for points of the curve with reduced coordinates (and,
// in Jacobian coordinates, Z not zero): what every function below takes and returns.
bool pointIsValid(const AffinePoint& p);
bool pointIsValid(const JacobianPoint& p);

inline constexpr std::size_t kCompressedKeySize = 33;
inline constexpr std::size_t kUncompressedKeySize = 65;

// The generator G.
const AffinePoint& generatorPoint();

JacobianPoint toJacobian(const AffinePoint& p);
AffinePoint toAffine(const JacobianPoint& p);

JacobianPoint pointDouble(const JacobianPoint& p);
// p + q for any two points: doubling, opposite points and infinity included.
JacobianPoint pointAdd(const JacobianPoint& p, const AffinePoint& q);
AffinePoint pointNegate(const AffinePoint& p);

// k * G, for the rare places that need a point from a key (a walker's start).
AffinePoint multiplyGenerator(const Scalar& k);

// SEC 1 encoding: 02/03 || x (33 bytes) or 04 || x || y (65 bytes); p must be finite.
void serializePoint(const AffinePoint& p, bool compressed, std::uint8_t* out);

} // namespace tarwick::engine
