// The IFMA lanes' multiplication and subtraction on whole elements, for callers outside the
// batches. Only the *Ifma.cpp files are compiled for AVX-512 IFMA (through the target pragma,
// not a global -m flag), and they run only after the run-time check in FieldBackend.cpp.

#include "engine/ec/FieldBackend.h"

#pragma GCC push_options
#pragma GCC target("avx512f,avx512ifma")
// GCC 12's shift and logic intrinsics pass _mm512_undefined_epi32() (a self-initialised
// variable) as the unused merge source, which its own -Wuninitialized then reports once inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "engine/ec/detail/FieldLanes.h"

namespace tarwick::engine {

void fieldMulLanes(const FieldElement* a, const FieldElement* b, FieldElement* out) {
    using namespace field_lanes;
    const Lanes product = mul(gather(a, sizeof(FieldElement)), gather(b, sizeof(FieldElement)));
    scatter(product, out, sizeof(FieldElement), 0xFF);
}

void fieldSubLanes(const FieldElement* a, const FieldElement* b, FieldElement* out) {
    using namespace field_lanes;
    const Lanes difference = sub(gather(a, sizeof(FieldElement)), gather(b, sizeof(FieldElement)));
    scatter(difference, out, sizeof(FieldElement), 0xFF);
}

} // namespace tarwick::engine

#pragma GCC diagnostic pop
#pragma GCC pop_options
