#include "engine/ec/Candidates.h"

namespace tarwick::engine {

namespace {

const FieldElement& beta2() {
    static const FieldElement value = fieldSqr(endomorphismBeta());
    return value;
}

const Scalar& lambda2() {
    static const Scalar value = scalarMul(endomorphismLambda(), endomorphismLambda());
    return value;
}

} // namespace

const FieldElement& endomorphismBeta() {
    static const FieldElement beta = {{0xC1396C28719501EEULL, 0x9CF0497512F58995ULL,
                                       0x6E64479EAC3434E9ULL, 0x7AE96A2B657C0710ULL}};
    return beta;
}

const Scalar& endomorphismLambda() {
    static const Scalar lambda = {{0xDF02967C1B23BD72ULL, 0x122E22EA20816678ULL,
                                   0xA5261C028812645AULL, 0x5363AD4CC05C30E0ULL}};
    return lambda;
}

Scalar candidateKey(const Scalar& k, CandidateKind kind) {
    switch (kind) {
    case CandidateKind::Point:
        return k;
    case CandidateKind::Negated:
        return scalarNegate(k);
    case CandidateKind::Lambda:
        return scalarMul(k, endomorphismLambda());
    case CandidateKind::LambdaNegated:
        return scalarNegate(scalarMul(k, endomorphismLambda()));
    case CandidateKind::Lambda2:
        return scalarMul(k, lambda2());
    case CandidateKind::Lambda2Negated:
        return scalarNegate(scalarMul(k, lambda2()));
    }
    return k;
}

AffinePoint candidatePoint(const AffinePoint& p, CandidateKind kind) {
    if (p.infinity) {
        return p;
    }
    switch (kind) {
    case CandidateKind::Point:
        return p;
    case CandidateKind::Negated:
        return pointNegate(p);
    case CandidateKind::Lambda:
        return {fieldMul(p.x, endomorphismBeta()), p.y, false};
    case CandidateKind::LambdaNegated:
        return {fieldMul(p.x, endomorphismBeta()), fieldNegate(p.y), false};
    case CandidateKind::Lambda2:
        return {fieldMul(p.x, beta2()), p.y, false};
    case CandidateKind::Lambda2Negated:
        return {fieldMul(p.x, beta2()), fieldNegate(p.y), false};
    }
    return p;
}

void writeCandidateKeys(const AffinePoint& p, bool compressed, std::uint8_t* out) {
    const FieldElement x1 = fieldMul(p.x, endomorphismBeta());
    const FieldElement x2 = fieldMul(p.x, beta2());
    const FieldElement* xs[3] = {&p.x, &x1, &x2};
    if (compressed) {
        const std::uint8_t own = p.y.isOdd() ? 0x03 : 0x02;
        const std::uint8_t flipped = own ^ 0x01;
        for (int i = 0; i < 3; ++i) {
            std::uint8_t* a = out + (2 * i) * kCompressedKeySize;
            std::uint8_t* b = a + kCompressedKeySize;
            a[0] = own;
            xs[i]->toBytes(a + 1);
            b[0] = flipped;
            for (std::size_t j = 1; j < kCompressedKeySize; ++j) {
                b[j] = a[j];
            }
        }
        return;
    }
    std::uint8_t y[32];
    std::uint8_t minusY[32];
    p.y.toBytes(y);
    fieldNegate(p.y).toBytes(minusY);
    for (int i = 0; i < 3; ++i) {
        std::uint8_t* a = out + (2 * i) * kUncompressedKeySize;
        std::uint8_t* b = a + kUncompressedKeySize;
        a[0] = 0x04;
        b[0] = 0x04;
        xs[i]->toBytes(a + 1);
        for (std::size_t j = 0; j < 32; ++j) {
            b[1 + j] = a[1 + j];
            a[33 + j] = y[j];
            b[33 + j] = minusY[j];
        }
    }
}

} // namespace tarwick::engine
