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
    return fieldInverseWith<PortableFieldOps>(a);
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
