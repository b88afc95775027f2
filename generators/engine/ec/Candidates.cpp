#include "engine/ec/Candidates.h"

namespace tarwick::engine {

namespace {

// beta and beta^2 = -beta - 1 (mod p); lambda and lambda^2 (mod n). The tests check that
// each is a cube root of unity and that lambda * P = (beta * x, y).
constexpr FieldElement kBeta = {
    {0xC1396C28719501EEULL, 0x9CF0497512F58995ULL, 0x6E64479EAC3434E9ULL, 0x7AE96A2B657C0710ULL}};
constexpr FieldElement kBeta2 = {
    {0x3EC693D68E6AFA40ULL, 0x630FB68AED0A766AULL, 0x919BB86153CBCB16ULL, 0x851695D49A83F8EFULL}};
constexpr Scalar kLambda = {
    {0xDF02967C1B23BD72ULL, 0x122E22EA20816678ULL, 0xA5261C028812645AULL, 0x5363AD4CC05C30E0ULL}};
constexpr Scalar kLambda2 = {
    {0xE0CFC810B51283CEULL, 0xA880B9FC8EC739C2ULL, 0x5AD9E3FD77ED9BA4ULL, 0xAC9C52B33FA3CF1FULL}};

template <typename Ops>
void writeCandidateKeysWith(const AffinePoint& p, bool compressed, std::uint8_t* out) {
    const FieldElement x1 = Ops::mul(p.x, kBeta);
    const FieldElement x2 = Ops::mul(p.x, kBeta2);
    const FieldElement* xs[3] = {&p.x, &x1, &x2};
    // Every key is written from registers: copying a key just written would load across
    // several recent stores, which the processor cannot forward and stalls on.
    if (compressed) {
        const std::uint8_t own = p.y.isOdd() ? 0x03 : 0x02;
        const std::uint8_t flipped = own ^ 0x01;
        for (int i = 0; i < 3; ++i) {
            std::uint8_t* a = out + (2 * i) * kCompressedKeySize;
            std::uint8_t* b = a + kCompressedKeySize;
            a[0] = own;
            xs[i]->toBytes(a + 1);
            b[0] = flipped;
            xs[i]->toBytes(b + 1);
        }
        return;
    }
    const FieldElement minusY = fieldNegate(p.y);
    for (int i = 0; i < 3; ++i) {
        std::uint8_t* a = out + (2 * i) * kUncompressedKeySize;
        std::uint8_t* b = a + kUncompressedKeySize;
        a[0] = 0x04;
        xs[i]->toBytes(a + 1);
        p.y.toBytes(a + 33);
        b[0] = 0x04;
        xs[i]->toBytes(b + 1);
        minusY.toBytes(b + 33);
    }
}

} // namespace

const FieldElement& endomorphismBeta() {
    return kBeta;
}
const FieldElement& endomorphismBeta2() {
    return kBeta2;
}

Scalar candidateKey(const Scalar& k, CandidateKind kind) {
    switch (kind) {
    case CandidateKind::Point:
        return k;
    case CandidateKind::Negated:
        return scalarNegate(k);
    case CandidateKind::Lambda:
        return scalarMul(k, kLambda);
    case CandidateKind::LambdaNegated:
        return scalarNegate(scalarMul(k, kLambda));
    case CandidateKind::Lambda2:
        return scalarMul(k, kLambda2);
    case CandidateKind::Lambda2Negated:
        return scalarNegate(scalarMul(k, kLambda2));
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
        return {fieldMul(p.x, kBeta), p.y, false};
    case CandidateKind::LambdaNegated:
        return {fieldMul(p.x, kBeta), fieldNegate(p.y), false};
    case CandidateKind::Lambda2:
        return {fieldMul(p.x, kBeta2), p.y, false};
    case CandidateKind::Lambda2Negated:
        return {fieldMul(p.x, kBeta2), fieldNegate(p.y), false};
    }
    return p;
}

void writeCandidateKeys(const AffinePoint& p, bool compressed, std::uint8_t* out,
                        FieldBackend backend) {
    withFieldOps(backend,
                 [&](auto ops) { writeCandidateKeysWith<decltype(ops)>(p, compressed, out); });
}

} // namespace tarwick::engine
