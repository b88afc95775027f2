#pragma once

#include "engine/ec/Field.h"
#include "engine/ec/detail/FieldMulxAdx.h"

#include <optional>
#include <string_view>

namespace tarwick::engine {

// The field multiplications the hot loop can run on, chosen at run time so that one binary
// runs everywhere: the portable 128-bit code, x86-64 MULX with the two carry chains of
// ADCX/ADOX (BMI2 and ADX, present on every x86-64 processor since about 2015), or AVX-512
// IFMA, eight elements at a time in 52-bit limbs for the walker's batches and the candidate
// keys (its single multiplications are MULX/ADX's).
enum class FieldBackend {
    Portable,
    MulxAdx,
    Ifma,
};

inline constexpr FieldBackend kAllFieldBackends[] = {FieldBackend::Portable, FieldBackend::MulxAdx,
                                                     FieldBackend::Ifma};

bool fieldBackendSupported(FieldBackend backend);
// "portable", "mulx-adx" or "ifma".
const char* fieldBackendName(FieldBackend backend);
std::optional<FieldBackend> fieldBackendFromName(std::string_view name);
// The environment variable TARWICK_FIELD_BACKEND when it names a backend this CPU supports
// (so that every path of a built program can be exercised), otherwise the fastest one.
// Decided once per process.
FieldBackend fieldBackendInUse();

// Multiplication and squaring, one policy per backend, for code templated on them:
// PortableFieldOps here, and MulxAdxFieldOps (engine/ec/detail/FieldMulxAdx.h) where
// TARWICK_HAVE_MULX_ADX is defined.
struct PortableFieldOps {
    static FieldElement mul(const FieldElement& a, const FieldElement& b) { return fieldMul(a, b); }
    static FieldElement sqr(const FieldElement& a) { return fieldSqr(a); }
};

// a^-1 = a^(p-2) (mod p) on the multiplications of Ops; the inverse of zero is zero.
template <typename Ops>
FieldElement fieldInverseWith(const FieldElement& a) {
    const auto sqrTimes = [](FieldElement v, int times) {
        for (int i = 0; i < times; ++i) {
            v = Ops::sqr(v);
        }
        return v;
    };
    // p - 2 = 2^256 - 2^32 - 979: 223 one bits, a zero, 22 one bits, then 0000101101.
    // xN below stands for a^(2^N - 1).
    const FieldElement x1 = a;
    const FieldElement x2 = Ops::mul(Ops::sqr(x1), x1);
    const FieldElement x3 = Ops::mul(Ops::sqr(x2), x1);
    const FieldElement x6 = Ops::mul(sqrTimes(x3, 3), x3);
    const FieldElement x9 = Ops::mul(sqrTimes(x6, 3), x3);
    const FieldElement x11 = Ops::mul(sqrTimes(x9, 2), x2);
    const FieldElement x22 = Ops::mul(sqrTimes(x11, 11), x11);
    const FieldElement x44 = Ops::mul(sqrTimes(x22, 22), x22);
    const FieldElement x88 = Ops::mul(sqrTimes(x44, 44), x44);
    const FieldElement x176 = Ops::mul(sqrTimes(x88, 88), x88);
    const FieldElement x220 = Ops::mul(sqrTimes(x176, 44), x44);
    const FieldElement x223 = Ops::mul(sqrTimes(x220, 3), x3);
    FieldElement r = Ops::mul(sqrTimes(x223, 23), x22); // ...1 0 (22 ones)
    r = Ops::mul(sqrTimes(r, 5), x1);                   // 00001
    r = Ops::mul(sqrTimes(r, 3), x2);                   // 011
    return Ops::mul(sqrTimes(r, 2), x1);                // 01
}

// Montgomery's trick (see batchInverse in Field.h) on the multiplications of Ops.
template <typename Ops>
bool batchInverseWith(FieldElement* values, std::size_t count, FieldElement* scratch) {
    if (count == 0) {
        return true;
    }
    // scratch[i] = values[0] * ... * values[i]
    scratch[0] = values[0];
    for (std::size_t i = 1; i < count; ++i) {
        scratch[i] = Ops::mul(scratch[i - 1], values[i]);
    }
    if (scratch[count - 1].isZero()) {
        return false;
    }
    FieldElement inverse = fieldInverseWith<Ops>(scratch[count - 1]);
    for (std::size_t i = count - 1; i > 0; --i) {
        const FieldElement inverseOfThis = Ops::mul(inverse, scratch[i - 1]);
        inverse = Ops::mul(inverse, values[i]);
        values[i] = inverseOfThis;
    }
    values[0] = inverse;
    return true;
}

// Eight products a[i] * b[i] and differences a[i] - b[i] at once on the IFMA lanes, the
// arithmetic of that backend's batches, which must be supported.
inline constexpr std::size_t kFieldLanes = 8;
void fieldMulLanes(const FieldElement* a, const FieldElement* b, FieldElement* out);
void fieldSubLanes(const FieldElement* a, const FieldElement* b, FieldElement* out);

// batchInverse on a chosen backend, which must be supported.
bool batchInverse(FieldElement* values, std::size_t count, FieldElement* scratch,
                  FieldBackend backend);

// Calls f with the Ops policy of the backend.
template <typename F>
decltype(auto) withFieldOps(FieldBackend backend, F&& f) {
#if defined(TARWICK_HAVE_MULX_ADX)
    if (backend == FieldBackend::MulxAdx || backend == FieldBackend::Ifma) {
        return f(MulxAdxFieldOps{});
    }
#else
    (void)backend;
#endif
    return f(PortableFieldOps{});
}

} // namespace tarwick::engine
