#pragma once

#include "engine/ec/FieldBackend.h"
#include "engine/ec/Point.h"

#include <cstddef>
#include <cstdint>

namespace tarwick::engine {

// Every point P = k*G gives six public keys for the price of two field multiplications:
// P and -P (same x, other y), and the endomorphism images lambda*P = (beta*x, y) and
// lambda^2*P = (beta^2*x, y) with their negations. Their private keys follow from k.
enum class CandidateKind : std::uint8_t {
    Point,          // k
    Negated,        // n - k
    Lambda,         // lambda * k
    LambdaNegated,  // n - lambda * k
    Lambda2,        // lambda^2 * k
    Lambda2Negated, // n - lambda^2 * k
};

inline constexpr std::size_t kCandidatesPerPoint = 6;

// beta, a cube root of unity modulo p, and its square.
const FieldElement& endomorphismBeta();
const FieldElement& endomorphismBeta2();

// The private key of a candidate of the point whose key is k.
Scalar candidateKey(const Scalar& k, CandidateKind kind);

// The candidate point itself (for checks; the hot path writes keys directly).
AffinePoint candidatePoint(const AffinePoint& p, CandidateKind kind);

// Writes the six serialized public keys of p, in CandidateKind order, each
// kCompressedKeySize or kUncompressedKeySize bytes, one after the other.
void writeCandidateKeys(const AffinePoint& p, bool compressed, std::uint8_t* out,
                        FieldBackend backend = fieldBackendInUse());

} // namespace tarwick::engine
