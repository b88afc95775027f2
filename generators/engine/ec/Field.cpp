#include "engine/ec/Field.h"

#include "engine/ec/FieldBackend.h"

namespace tarwick::engine {

namespace {

constexpr FieldElement kPrime = {
    {0xFFFFFFFEFFFFFC2FULL, 0xFFFFFFFFFFFFFFFFULL, 0xFFFFFFFFFFFFFFFFULL, 0xFFFFFFFFFFFFFFFFULL}};

std::uint64_t loadBigEndian64(const std::uint8_t* in) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) {
        v = (v << 8) | in[i];
    }
    return v;
}

FieldElement sqrTimes(FieldElement a, int times) {
    for (int i = 0; i < times; ++i) {
        a = fieldSqr(a);
    }
    return a;
}

} // namespace

bool FieldElement::fromBytes(const std::uint8_t in[32], FieldElement& out) {
    FieldElement v;
    for (int i = 0; i < 4; ++i) {
        v.limb[3 - i] = loadBigEndian64(in + 8 * i);
    }
    for (int i = 3; i >= 0; --i) {
        if (v.limb[i] != kPrime.limb[i]) {
            if (v.limb[i] > kPrime.limb[i]) {
                return false;
            }
            out = v;
            return true;
        }
    }
    return false; // equal to p
}

FieldElement fieldInverse(const FieldElement& a) {
    // p - 2 = 2^256 - 2^32 - 979: 223 one bits, a zero, 22 one bits, then 0000101101.
    // xN below stands for a^(2^N - 1).
    const FieldElement x1 = a;
    const FieldElement x2 = fieldMul(fieldSqr(x1), x1);
    const FieldElement x3 = fieldMul(fieldSqr(x2), x1);
    const FieldElement x6 = fieldMul(sqrTimes(x3, 3), x3);
    const FieldElement x9 = fieldMul(sqrTimes(x6, 3), x3);
    const FieldElement x11 = fieldMul(sqrTimes(x9, 2), x2);
    const FieldElement x22 = fieldMul(sqrTimes(x11, 11), x11);
    const FieldElement x44 = fieldMul(sqrTimes(x22, 22), x22);
    const FieldElement x88 = fieldMul(sqrTimes(x44, 44), x44);
    const FieldElement x176 = fieldMul(sqrTimes(x88, 88), x88);
    const FieldElement x220 = fieldMul(sqrTimes(x176, 44), x44);
    const FieldElement x223 = fieldMul(sqrTimes(x220, 3), x3);
    FieldElement r = fieldMul(sqrTimes(x223, 23), x22); // ...1 0 (22 ones)
    r = fieldMul(sqrTimes(r, 5), x1);                   // 00001
    r = fieldMul(sqrTimes(r, 3), x2);                   // 011
    r = fieldMul(sqrTimes(r, 2), x1);                   // 01
    return r;
}

bool batchInverse(FieldElement* values, std::size_t count, FieldElement* scratch) {
    return batchInverseWith<PortableFieldOps>(values, count, scratch);
}

bool batchInverse(FieldElement* values, std::size_t count, FieldElement* scratch,
                  FieldBackend backend) {
    return withFieldOps(
        backend, [&](auto ops) { return batchInverseWith<decltype(ops)>(values, count, scratch); });
}

} // namespace tarwick::engine
