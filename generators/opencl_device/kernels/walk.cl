// The search kernel. Each work item owns a centre point C = c*G and, per launch, checks
// the 2*WALK_HALF + 1 consecutive keys c - WALK_HALF ... c + WALK_HALF, then moves its
// centre on by 2*WALK_HALF + 1. The points C +- i*G share the denominator x(i*G) - x(C),
// and all of a work item's denominators (plus the one for the step to the next centre)
// are inverted together with Montgomery's trick: one field inversion per launch. Every
// point yields six candidate keys (negation and the two endomorphism images), each hashed
// and tested on the device.
//
// Every loop runs the same number of times in every work item, and the only branch that
// depends on the data is the rare slow path of a candidate whose first bits are in the
// table, so work items never diverge for long.
//
// Compile-time settings: WALK_HALF, WALK_COMPRESSED (1: 33-byte keys, 0: 65-byte), and
// WALK_CANDIDATES (6, or 1 to hash only the point itself, as a split-key search needs).
// With WALK_DUMP defined the kernel also writes every point and every candidate's
// hash160 to `dump` (for the tests).

#ifndef WALK_HALF
#error WALK_HALF must be defined
#endif
#ifndef WALK_COMPRESSED
#error WALK_COMPRESSED must be defined
#endif

#ifndef WALK_CANDIDATES
#define WALK_CANDIDATES 6
#endif

#define WALK_POINTS (2 * WALK_HALF + 1)

// beta, the cube root of unity modulo p with lambda*(x, y) = (beta*x, y).
__constant uint kBeta[8] = {0x719501EEu, 0xC1396C28u, 0x12F58995u, 0x9CF04975u,
                            0xAC3434E9u, 0x6E64479Eu, 0x657C0710u, 0x7AE96A2Bu};

typedef struct {
    __global const uint* table;
    uint tableShift;
    __global const uint* ranges;
    uint rangeCount;
    __global uint* hits;
    uint hitCapacity;
    __global uint* dump;
} walk_targets;

// Hashes and tests the six candidates of the point (x, y), number `point` of the batch.
INLINE void check_point(const fe* x, const fe* y, uint item, uint point,
                        const walk_targets* targets) {
    fe xs, xb;
#if WALK_CANDIDATES > 1
    fe beta;
    for (int i = 0; i < 8; ++i)
        beta.v[i] = kBeta[i];
    fe_mul(&xb, x, &beta);
#endif
#if !WALK_COMPRESSED
    fe ny;
    if (WALK_CANDIDATES > 1)
        fe_negate(&ny, y);
#endif
    for (uint kind = 0; kind < WALK_CANDIDATES; ++kind) {
        // x, beta*x and beta^2*x = -x - beta*x (1 + beta + beta^2 = 0), each with y and -y.
        if (kind == 0) {
            fe_copy(&xs, x);
        } else if (kind == 2) {
            fe_copy(&xs, &xb);
        } else if (kind == 4) {
            fe_add(&xs, x, &xb);
            fe_negate(&xs, &xs);
        }
        uint h[5];
#if WALK_COMPRESSED
        // -y has the other parity, since p is odd and y is never zero.
        const uint prefix = 2u + ((y->v[0] ^ kind) & 1u);
        hash160_compressed(prefix, &xs, h);
#else
        hash160_uncompressed(&xs, (kind & 1u) ? &ny : y, h);
#endif
#ifdef WALK_DUMP
        __global uint* d = targets->dump + ((size_t)item * WALK_POINTS + point) * (16 + 6 * 5);
        if (kind == 0) {
            for (int i = 0; i < 8; ++i) {
                d[i] = x->v[i];
                d[8 + i] = y->v[i];
            }
        }
        for (int i = 0; i < 5; ++i)
            d[16 + kind * 5 + i] = h[i];
#endif
        const uint wanted = first_bits_hit(h, targets->table, targets->tableShift);
        if (wanted)
            match_candidate(h, targets->ranges, targets->rangeCount, targets->hits,
                            targets->hitCapacity, item, point, kind);
    }
}

// centres:   the work items' centres, x then y, limb-major: word [limb][item].
// products:  scratch of WALK_HALF + 1 field elements per work item, limb-major per element.
// multiples: i*G for i = 1 ... WALK_HALF, then WALK_POINTS*G, 16 words each (x then y).
__kernel void walk(__global uint* centres, __global uint* products,
                   __global const uint* multiples, __global const uint* table, uint tableShift,
                   __global const uint* ranges, uint rangeCount, __global uint* hits,
                   uint hitCapacity, __global uint* dump) {
    const uint item = (uint)get_global_id(0);
    const uint items = (uint)get_global_size(0);
    walk_targets targets = {table, tableShift, ranges, rangeCount, hits, hitCapacity, dump};

    fe cx, cy;
    fe_set_global(&cx, centres + item, items);
    fe_set_global(&cy, centres + 8 * items + item, items);

    // products[j] = d_1 * ... * d_j with d_i = x(i*G) - x(C), products[0] = 1, kept for
    // the way back; acc ends as the product of all WALK_HALF + 1 denominators.
    fe acc, d, q;
    for (int i = 0; i < 8; ++i)
        acc.v[i] = i == 0 ? 1u : 0u;
    for (uint i = 1; i <= WALK_HALF + 1; ++i) {
        fe_store_global(products + (size_t)(i - 1) * 8 * items + item, items, &acc);
        fe_set_global(&q, multiples + (i - 1) * 16, 1);
        fe_sub(&d, &q, &cx);
        fe_mul(&acc, &acc, &d);
    }
    fe inv;
    fe_inverse(&inv, &acc);

    // Backwards: inv holds 1 / (d_1 ... d_i); times products[i - 1] it gives 1 / d_i,
    // times d_i it gives the inverse for the next step down.
    fe invd, prev, qx, qy, lambda, t, x3, y3;
    {
        // The step to the next centre: C + WALK_POINTS*G.
        fe_set_global(&qx, multiples + WALK_HALF * 16, 1);
        fe_set_global(&qy, multiples + WALK_HALF * 16 + 8, 1);
        fe_set_global(&prev, products + (size_t)WALK_HALF * 8 * items + item, items);
        fe_mul(&invd, &inv, &prev);
        fe_sub(&d, &qx, &cx);
        fe_mul(&inv, &inv, &d);
        fe_sub(&t, &qy, &cy);
        fe_mul(&lambda, &t, &invd);
        fe_sqr(&x3, &lambda);
        fe_sub(&x3, &x3, &cx);
        fe_sub(&x3, &x3, &qx);
        fe_sub(&t, &cx, &x3);
        fe_mul(&y3, &lambda, &t);
        fe_sub(&y3, &y3, &cy);
        fe_store_global(centres + item, items, &x3);
        fe_store_global(centres + 8 * items + item, items, &y3);
    }
    for (uint i = WALK_HALF; i >= 1; --i) {
        fe_set_global(&qx, multiples + (i - 1) * 16, 1);
        fe_set_global(&prev, products + (size_t)(i - 1) * 8 * items + item, items);
        fe_mul(&invd, &inv, &prev);
        fe_sub(&d, &qx, &cx);
        fe_mul(&inv, &inv, &d);
        // C + Q, then C - Q = C + (qx, -qy).
        for (uint side = 0; side < 2; ++side) {
            fe_set_global(&qy, multiples + (i - 1) * 16 + 8, 1);
            if (side == 1)
                fe_negate(&qy, &qy);
            fe_sub(&t, &qy, &cy);
            fe_mul(&lambda, &t, &invd);
            fe_sqr(&x3, &lambda);
            fe_sub(&x3, &x3, &cx);
            fe_sub(&x3, &x3, &qx);
            fe_sub(&t, &cx, &x3);
            fe_mul(&y3, &lambda, &t);
            fe_sub(&y3, &y3, &cy);
            check_point(&x3, &y3, item, side == 0 ? WALK_HALF + i : WALK_HALF - i, &targets);
        }
    }
    check_point(&cx, &cy, item, WALK_HALF, &targets);
}
