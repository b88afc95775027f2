#pragma once

// MulxAdxFieldOps, the MULX/ADX backend's multiplication and squaring (one of the policies of
// engine/ec/FieldBackend.h) in x86-64 assembly; TARWICK_HAVE_MULX_ADX says it is built.

#include "engine/ec/Field.h"
#include "engine/ec/detail/Checks.h"

namespace tarwick::engine {

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
        TARWICK_ENGINE_CHECK(fieldIsReduced(a) && fieldIsReduced(b));
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
        TARWICK_ENGINE_CHECK(fieldIsReduced(r));
        return r;
    }
    // The six products a_i a_j (i < j) once, doubled, plus the four squares: 10 MULX
    // instead of 16 before the fold.
    static FieldElement sqr(const FieldElement& a) {
        TARWICK_ENGINE_CHECK(fieldIsReduced(a));
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
        TARWICK_ENGINE_CHECK(fieldIsReduced(r));
        return r;
    }
};

#undef TARWICK_FOLD_WIDE_ASM

#endif

} // namespace tarwick::engine
