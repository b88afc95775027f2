// Arithmetic modulo p = 2^256 - 2^32 - 977 on eight little-endian 32-bit limbs, always
// fully reduced. 32-bit limbs because every OpenCL device multiplies 32 x 32 -> 64 bits
// natively (GPUs through mul_hi, vector CPUs lane by lane); 64-bit products are emulated
// on most of them. Every function is free of data-dependent branches, so that work items
// never diverge and a CPU device can run them side by side in vector lanes.

// Every helper is inlined: a call inside a kernel stops a CPU device from running work
// items side by side in vector lanes.
#define INLINE inline __attribute__((always_inline))

// 2^256 mod p = 2^32 + 977: the low limb of that constant.
#define FE_FOLD_LOW 977u

typedef struct {
    uint v[8];
} fe;

INLINE void fe_copy(fe* r, const fe* a) {
    for (int i = 0; i < 8; ++i)
        r->v[i] = a->v[i];
}

INLINE void fe_set_global(fe* r, __global const uint* src, uint stride) {
    for (int i = 0; i < 8; ++i)
        r->v[i] = src[i * stride];
}

INLINE void fe_store_global(__global uint* dst, uint stride, const fe* a) {
    for (int i = 0; i < 8; ++i)
        dst[i * stride] = a->v[i];
}

// r = value mod p for value = r + carry * 2^256 < 2p: subtracting p is adding 2^32 + 977
// and dropping 2^256, which is needed exactly when that addition carries out or `carry`
// was already set.
INLINE void fe_reduce_once(fe* r, uint carry) {
    uint s[8];
    ulong acc = (ulong)r->v[0] + FE_FOLD_LOW;
    s[0] = (uint)acc;
    acc = (acc >> 32) + (ulong)r->v[1] + 1u;
    s[1] = (uint)acc;
    for (int i = 2; i < 8; ++i) {
        acc = (acc >> 32) + (ulong)r->v[i];
        s[i] = (uint)acc;
    }
    const uint mask = 0u - ((uint)(acc >> 32) | carry);
    for (int i = 0; i < 8; ++i)
        r->v[i] = (s[i] & mask) | (r->v[i] & ~mask);
}

INLINE void fe_add(fe* r, const fe* a, const fe* b) {
    ulong acc = 0;
    for (int i = 0; i < 8; ++i) {
        acc = (acc >> 32) + (ulong)a->v[i] + (ulong)b->v[i];
        r->v[i] = (uint)acc;
    }
    fe_reduce_once(r, (uint)(acc >> 32));
}

INLINE void fe_sub(fe* r, const fe* a, const fe* b) {
    long acc = 0;
    for (int i = 0; i < 8; ++i) {
        acc = (acc >> 32) + (long)a->v[i] - (long)b->v[i];
        r->v[i] = (uint)acc;
    }
    // On a borrow r holds a - b + 2^256; a - b + p is that minus 2^32 + 977, which
    // cannot borrow again because a - b + p is not negative.
    const uint borrow = (uint)(acc < 0);
    const ulong fold = (0UL - (ulong)borrow) & 0x1000003D1UL;
    acc = (long)r->v[0] - (long)(fold & 0xFFFFFFFFUL);
    r->v[0] = (uint)acc;
    acc = (acc >> 32) + (long)r->v[1] - (long)(fold >> 32);
    r->v[1] = (uint)acc;
    for (int i = 2; i < 8; ++i) {
        acc = (acc >> 32) + (long)r->v[i];
        r->v[i] = (uint)acc;
    }
}

INLINE void fe_negate(fe* r, const fe* a) {
    fe zero;
    for (int i = 0; i < 8; ++i)
        zero.v[i] = 0;
    fe_sub(r, &zero, a);
}

// Folds the 512-bit product t into [0, p): t = lo + hi * 2^256 = lo + hi * (2^32 + 977).
INLINE void fe_reduce_wide(fe* r, const uint t[16]) {
    uint s[8];
    ulong acc = (ulong)t[0] + (ulong)t[8] * FE_FOLD_LOW;
    s[0] = (uint)acc;
    for (int i = 1; i < 8; ++i) {
        acc = (acc >> 32) + (ulong)t[i] + (ulong)t[8 + i] * FE_FOLD_LOW + (ulong)t[7 + i];
        s[i] = (uint)acc;
    }
    // What is left above 2^256 is below 2^34; fold it the same way.
    const ulong top = (acc >> 32) + (ulong)t[15];
    acc = (ulong)s[0] + top * FE_FOLD_LOW;
    r->v[0] = (uint)acc;
    acc = (acc >> 32) + (ulong)s[1] + top;
    r->v[1] = (uint)acc;
    for (int i = 2; i < 8; ++i) {
        acc = (acc >> 32) + (ulong)s[i];
        r->v[i] = (uint)acc;
    }
    // A carry out leaves a small value below: one more fold cannot carry again.
    const uint carry = (uint)(acc >> 32);
    acc = (ulong)r->v[0] + (ulong)(carry * FE_FOLD_LOW);
    r->v[0] = (uint)acc;
    acc = (acc >> 32) + (ulong)r->v[1] + (ulong)carry;
    r->v[1] = (uint)acc;
    for (int i = 2; i < 8; ++i) {
        acc = (acc >> 32) + (ulong)r->v[i];
        r->v[i] = (uint)acc;
    }
    fe_reduce_once(r, 0u);
}

INLINE void fe_mul(fe* r, const fe* a, const fe* b) {
    uint t[16];
    for (int i = 0; i < 16; ++i)
        t[i] = 0;
    for (int i = 0; i < 8; ++i) {
        ulong carry = 0;
        for (int j = 0; j < 8; ++j) {
            const ulong p = (ulong)a->v[i] * (ulong)b->v[j] + (ulong)t[i + j] + carry;
            t[i + j] = (uint)p;
            carry = p >> 32;
        }
        t[i + 8] = (uint)carry;
    }
    fe_reduce_wide(r, t);
}

INLINE void fe_sqr(fe* r, const fe* a) {
    // The products a_i * a_j with i < j once, doubled, then the squares on the diagonal.
    uint t[16];
    for (int i = 0; i < 16; ++i)
        t[i] = 0;
    for (int i = 0; i < 7; ++i) {
        ulong carry = 0;
        for (int j = i + 1; j < 8; ++j) {
            const ulong p = (ulong)a->v[i] * (ulong)a->v[j] + (ulong)t[i + j] + carry;
            t[i + j] = (uint)p;
            carry = p >> 32;
        }
        t[i + 8] = (uint)carry;
    }
    uint high = 0;
    for (int i = 0; i < 16; ++i) {
        const uint next = t[i] >> 31;
        t[i] = (t[i] << 1) | high;
        high = next;
    }
    ulong acc = 0;
    for (int i = 0; i < 8; ++i) {
        const ulong sq = (ulong)a->v[i] * (ulong)a->v[i];
        acc += (ulong)t[2 * i] + (sq & 0xFFFFFFFFUL);
        t[2 * i] = (uint)acc;
        acc = (acc >> 32) + (ulong)t[2 * i + 1] + (sq >> 32);
        t[2 * i + 1] = (uint)acc;
        acc >>= 32;
    }
    fe_reduce_wide(r, t);
}

INLINE void fe_sqr_n(fe* r, const fe* a, int n) {
    fe_sqr(r, a);
    for (int i = 1; i < n; ++i)
        fe_sqr(r, r);
}

// a^(p-2) = a^-1 (zero stays zero). With x_k = a^(2^k - 1), x_(j+k) = x_j^(2^k) * x_k
// builds the exponent's long runs of ones: p - 2 is 223 ones, a zero, 22 ones and then
// the bits 0000101101. 255 squarings and 15 multiplications, the same for every input.
INLINE void fe_inverse(fe* r, const fe* a) {
    fe x2, x3, x6, x11, x22, x44, x88, t;
    fe_sqr(&x2, a);
    fe_mul(&x2, &x2, a);
    fe_sqr(&x3, &x2);
    fe_mul(&x3, &x3, a);
    fe_sqr_n(&x6, &x3, 3);
    fe_mul(&x6, &x6, &x3);
    fe_sqr_n(&t, &x6, 3);
    fe_mul(&t, &t, &x3); // x9
    fe_sqr_n(&x11, &t, 2);
    fe_mul(&x11, &x11, &x2);
    fe_sqr_n(&x22, &x11, 11);
    fe_mul(&x22, &x22, &x11);
    fe_sqr_n(&x44, &x22, 22);
    fe_mul(&x44, &x44, &x22);
    fe_sqr_n(&x88, &x44, 44);
    fe_mul(&x88, &x88, &x44);
    fe_sqr_n(&t, &x88, 88);
    fe_mul(&t, &t, &x88); // x176
    fe_sqr_n(&t, &t, 44);
    fe_mul(&t, &t, &x44); // x220
    fe_sqr_n(&t, &t, 3);
    fe_mul(&t, &t, &x3); // x223
    fe_sqr_n(&t, &t, 23);
    fe_mul(&t, &t, &x22); // 223 ones, 0, 22 ones
    fe_sqr_n(&t, &t, 5);
    fe_mul(&t, &t, a); // 00001
    fe_sqr_n(&t, &t, 3);
    fe_mul(&t, &t, &x2); // 011
    fe_sqr_n(&t, &t, 2);
    fe_mul(r, &t, a); // 01
}
