#pragma once

#include "engine/ec/Field.h"

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

// Multiplication and squaring, one policy per backend, for code templated on them.
struct PortableFieldOps {
    static FieldElement mul(const FieldElement& a, const FieldElement& b) { return fieldMul(a, b); }
    static FieldElement sqr(const FieldElement& a) { return fieldSqr(a); }
};

#if defined(__x86_64__) && defined(__GNUC__)
#define TARWICK_HAVE_MULX_ADX 1

// Folds the 512-bit value r0..r7 to 256 bits with 2^256 = 0x1000003D1 (mod p): first the
// high half times 0x1000003D1 (its top word lands in r4, below 2^34), then r4 times it, and
// 0x1000003D1 once more should that carry out. The result, below 2^256, is in r0..r3.
#define TARWICK_FOLD_WIDE_ASM                                                                      \
    "movq $0x1000003D1, %%rdx\n\t"                                                                 \
    "xorl %k[hi], %k[hi]\n\t"                                                                      \
    "mulxq %[r4], %[lo], %[hi]\n\t"                                                                \
    "adcxq %[lo], %[r0]\n\t"                                                                       \
    "adoxq %[hi], %[r1]\n\t"                                                                       \
    "mulxq %[r5], %[lo], %[hi]\n\t"                                                                \
    "adcxq %[lo], %[r1]\n\t"                                                                       \
    "adoxq %[hi], %[r2]\n\t"                                                                       \
    "mulxq %[r6], %[lo], %[hi]\n\t"                                                                \
    "adcxq %[lo], %[r2]\n\t"                                                                       \
    "adoxq %[hi], %[r3]\n\t"                                                                       \
    "mulxq %[r7], %[lo], %[r4]\n\t"                                                                \
    "adcxq %[lo], %[r3]\n\t"                                                                       \
    "movl $0, %k[lo]\n\t"                                                                          \
    "adoxq %[lo], %[r4]\n\t"                                                                       \
    "adcxq %[lo], %[r4]\n\t"                                                                       \
    "mulxq %[r4], %[lo], %[hi]\n\t"                                                                \
    "addq %[lo], %[r0]\n\t"                                                                        \
    "adcq %[hi], %[r1]\n\t"                                                                        \
    "adcq $0, %[r2]\n\t"                                                                           \
    "adcq $0, %[r3]\n\t"                                                                           \
    "sbbq %[lo], %[lo]\n\t"                                                                        \
    "andq %%rdx, %[lo]\n\t"                                                                        \
    "addq %[lo], %[r0]\n\t"                                                                        \
    "adcq $0, %[r1]\n\t"                                                                           \
    "adcq $0, %[r2]\n\t"                                                                           \
    "adcq $0, %[r3]\n\t"

struct MulxAdxFieldOps {
    // The 512-bit product row by row (MULX, with ADCX and ADOX adding the low and high
    // halves on two independent carry chains), then folded twice with 2^256 = 0x1000003D1
    // (mod p) and brought below p.
    static FieldElement mul(const FieldElement& a, const FieldElement& b) {
        std::uint64_t r0, r1, r2, r3, r4, r5, r6, r7, lo, hi;
        asm volatile(
            "movq 0(%[a]), %%rdx\n\t"
            "mulxq 0(%[b]), %[r0], %[r1]\n\t"
            "mulxq 8(%[b]), %[lo], %[r2]\n\t"
            "addq %[lo], %[r1]\n\t"
            "mulxq 16(%[b]), %[lo], %[r3]\n\t"
            "adcq %[lo], %[r2]\n\t"
            "mulxq 24(%[b]), %[lo], %[r4]\n\t"
            "adcq %[lo], %[r3]\n\t"
            "adcq $0, %[r4]\n\t"

            "movq 8(%[a]), %%rdx\n\t"
            "xorl %k[r5], %k[r5]\n\t"
            "mulxq 0(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r1]\n\t"
            "adoxq %[hi], %[r2]\n\t"
            "mulxq 8(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r2]\n\t"
            "adoxq %[hi], %[r3]\n\t"
            "mulxq 16(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r3]\n\t"
            "adoxq %[hi], %[r4]\n\t"
            "mulxq 24(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r4]\n\t"
            "adoxq %[hi], %[r5]\n\t"
            "movl $0, %k[lo]\n\t"
            "adcxq %[lo], %[r5]\n\t"

            "movq 16(%[a]), %%rdx\n\t"
            "xorl %k[r6], %k[r6]\n\t"
            "mulxq 0(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r2]\n\t"
            "adoxq %[hi], %[r3]\n\t"
            "mulxq 8(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r3]\n\t"
            "adoxq %[hi], %[r4]\n\t"
            "mulxq 16(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r4]\n\t"
            "adoxq %[hi], %[r5]\n\t"
            "mulxq 24(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r5]\n\t"
            "adoxq %[hi], %[r6]\n\t"
            "movl $0, %k[lo]\n\t"
            "adcxq %[lo], %[r6]\n\t"

            "movq 24(%[a]), %%rdx\n\t"
            "xorl %k[r7], %k[r7]\n\t"
            "mulxq 0(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r3]\n\t"
            "adoxq %[hi], %[r4]\n\t"
            "mulxq 8(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r4]\n\t"
            "adoxq %[hi], %[r5]\n\t"
            "mulxq 16(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r5]\n\t"
            "adoxq %[hi], %[r6]\n\t"
            "mulxq 24(%[b]), %[lo], %[hi]\n\t"
            "adcxq %[lo], %[r6]\n\t"
            "adoxq %[hi], %[r7]\n\t"
            "movl $0, %k[lo]\n\t"
            "adcxq %[lo], %[r7]\n\t"

            TARWICK_FOLD_WIDE_ASM
            : [r0] "=&r"(r0), [r1] "=&r"(r1), [r2] "=&r"(r2), [r3] "=&r"(r3), [r4] "=&r"(r4),
              [r5] "=&r"(r5), [r6] "=&r"(r6), [r7] "=&r"(r7), [lo] "=&r"(lo), [hi] "=&r"(hi)
            // Reads a and b through the pointers: "memory" rather than two more operands,
            // which an unoptimised build could not find registers for; volatile, because
            // without memory operands the optimiser took calls on the same address (v =
            // sqr(v) in a loop) for repeats of one computation.
            : [a] "r"(a.limb), [b] "r"(b.limb)
            : "rdx", "cc", "memory");
        FieldElement r{{r0, r1, r2, r3}};
        field_detail::reduceOnce(r.limb, 0);
        return r;
    }
    // The six products a_i a_j (i < j) once, doubled, plus the four squares: 10 MULX
    // instead of 16 before the fold.
    static FieldElement sqr(const FieldElement& a) {
        std::uint64_t r0, r1, r2, r3, r4, r5, r6, r7, lo, hi;
        asm volatile(
            "movq 0(%[a]), %%rdx\n\t"
            "mulxq 8(%[a]), %[r1], %[r2]\n\t"
            "mulxq 16(%[a]), %[lo], %[r3]\n\t"
            "addq %[lo], %[r2]\n\t"
            "mulxq 24(%[a]), %[lo], %[r4]\n\t"
            "adcq %[lo], %[r3]\n\t"
            "movq 8(%[a]), %%rdx\n\t"
            "mulxq 24(%[a]), %[lo], %[r5]\n\t"
            "adcq %[lo], %[r4]\n\t"
            "adcq $0, %[r5]\n\t"
            "mulxq 16(%[a]), %[lo], %[hi]\n\t"
            "addq %[lo], %[r3]\n\t"
            "adcq %[hi], %[r4]\n\t"
            "movq 16(%[a]), %%rdx\n\t"
            "mulxq 24(%[a]), %[lo], %[r6]\n\t"
            "adcq %[lo], %[r5]\n\t"
            "adcq $0, %[r6]\n\t"
            // double
            "xorl %k[r7], %k[r7]\n\t"
            "addq %[r1], %[r1]\n\t"
            "adcq %[r2], %[r2]\n\t"
            "adcq %[r3], %[r3]\n\t"
            "adcq %[r4], %[r4]\n\t"
            "adcq %[r5], %[r5]\n\t"
            "adcq %[r6], %[r6]\n\t"
            "adcq $0, %[r7]\n\t"
            // the squares on the diagonal
            "movq 0(%[a]), %%rdx\n\t"
            "mulxq %%rdx, %[r0], %[hi]\n\t"
            "addq %[hi], %[r1]\n\t"
            "movq 8(%[a]), %%rdx\n\t"
            "mulxq %%rdx, %[lo], %[hi]\n\t"
            "adcq %[lo], %[r2]\n\t"
            "adcq %[hi], %[r3]\n\t"
            "movq 16(%[a]), %%rdx\n\t"
            "mulxq %%rdx, %[lo], %[hi]\n\t"
            "adcq %[lo], %[r4]\n\t"
            "adcq %[hi], %[r5]\n\t"
            "movq 24(%[a]), %%rdx\n\t"
            "mulxq %%rdx, %[lo], %[hi]\n\t"
            "adcq %[lo], %[r6]\n\t"
            "adcq %[hi], %[r7]\n\t" TARWICK_FOLD_WIDE_ASM
            : [r0] "=&r"(r0), [r1] "=&r"(r1), [r2] "=&r"(r2), [r3] "=&r"(r3), [r4] "=&r"(r4),
              [r5] "=&r"(r5), [r6] "=&r"(r6), [r7] "=&r"(r7), [lo] "=&r"(lo), [hi] "=&r"(hi)
            : [a] "r"(a.limb)
            : "rdx", "cc", "memory");
        FieldElement r{{r0, r1, r2, r3}};
        field_detail::reduceOnce(r.limb, 0);
        return r;
    }
};

#undef TARWICK_FOLD_WIDE_ASM

#endif

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
