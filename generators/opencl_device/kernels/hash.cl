// SHA-256 and RIPEMD-160 of one or two message blocks held in registers: the public keys
// are built in the message words directly and the digests go straight into the next hash,
// so nothing is ever laid out as bytes.

// Plain shifts rather than the rotate() and bitselect() built-ins, which some compilers
// leave as calls; every compiler turns these forms into its rotate and select instructions.
#define ROTR32(x, n) (((uint)(x) >> (n)) | ((uint)(x) << (32 - (n))))
#define ROTL32(x, n) (((uint)(x) << (n)) | ((uint)(x) >> (32 - (n))))
// Each bit from b where c is set, else from a.
#define SELECT32(a, b, c) ((a) ^ ((c) & ((a) ^ (b))))

__constant uint kSha256K[64] = {
    0x428a2f98u, 0x71374491u, 0xb5c0fbcfu, 0xe9b5dba5u, 0x3956c25bu, 0x59f111f1u, 0x923f82a4u,
    0xab1c5ed5u, 0xd807aa98u, 0x12835b01u, 0x243185beu, 0x550c7dc3u, 0x72be5d74u, 0x80deb1feu,
    0x9bdc06a7u, 0xc19bf174u, 0xe49b69c1u, 0xefbe4786u, 0x0fc19dc6u, 0x240ca1ccu, 0x2de92c6fu,
    0x4a7484aau, 0x5cb0a9dcu, 0x76f988dau, 0x983e5152u, 0xa831c66du, 0xb00327c8u, 0xbf597fc7u,
    0xc6e00bf3u, 0xd5a79147u, 0x06ca6351u, 0x14292967u, 0x27b70a85u, 0x2e1b2138u, 0x4d2c6dfcu,
    0x53380d13u, 0x650a7354u, 0x766a0abbu, 0x81c2c92eu, 0x92722c85u, 0xa2bfe8a1u, 0xa81a664bu,
    0xc24b8b70u, 0xc76c51a3u, 0xd192e819u, 0xd6990624u, 0xf40e3585u, 0x106aa070u, 0x19a4c116u,
    0x1e376c08u, 0x2748774cu, 0x34b0bcb5u, 0x391c0cb3u, 0x4ed8aa4au, 0x5b9cca4fu, 0x682e6ff3u,
    0x748f82eeu, 0x78a5636fu, 0x84c87814u, 0x8cc70208u, 0x90befffau, 0xa4506cebu, 0xbef9a3f7u,
    0xc67178f2u};

INLINE void sha256_init(uint h[8]) {
    h[0] = 0x6a09e667u;
    h[1] = 0xbb67ae85u;
    h[2] = 0x3c6ef372u;
    h[3] = 0xa54ff53au;
    h[4] = 0x510e527fu;
    h[5] = 0x9b05688cu;
    h[6] = 0x1f83d9abu;
    h[7] = 0x5be0cd19u;
}

// One compression of the big-endian message words w[0..15] into h.
INLINE void sha256_block(uint h[8], const uint m[16]) {
    uint w[16];
    for (int i = 0; i < 16; ++i)
        w[i] = m[i];
    uint a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];
#pragma unroll
    for (int i = 0; i < 64; ++i) {
        if (i >= 16) {
            const uint w15 = w[(i - 15) & 15];
            const uint w2 = w[(i - 2) & 15];
            const uint s0 = ROTR32(w15, 7) ^ ROTR32(w15, 18) ^ (w15 >> 3);
            const uint s1 = ROTR32(w2, 17) ^ ROTR32(w2, 19) ^ (w2 >> 10);
            w[i & 15] += s0 + w[(i - 7) & 15] + s1;
        }
        const uint t1 = hh + (ROTR32(e, 6) ^ ROTR32(e, 11) ^ ROTR32(e, 25)) +
                        SELECT32(g, f, e) + kSha256K[i] + w[i & 15];
        const uint t2 = (ROTR32(a, 2) ^ ROTR32(a, 13) ^ ROTR32(a, 22)) +
                        SELECT32(b, a, c ^ b);
        hh = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
    h[5] += f;
    h[6] += g;
    h[7] += hh;
}

// RIPEMD-160's five boolean functions.
#define RMD_F1(x, y, z) ((x) ^ (y) ^ (z))
#define RMD_F2(x, y, z) SELECT32((z), (y), (x))
#define RMD_F3(x, y, z) (((x) | ~(y)) ^ (z))
#define RMD_F4(x, y, z) SELECT32((y), (x), (z))
#define RMD_F5(x, y, z) ((x) ^ ((y) | ~(z)))

__constant uchar kRmdWordL[80] = {
    0, 1, 2,  3,  4,  5,  6,  7,  8, 9, 10, 11, 12, 13, 14, 15, 7,  4,  13, 1,
    10, 6, 15, 3, 12, 0, 9, 5, 2, 14, 11, 8, 3,  10, 14, 4,  9,  15, 8,  1,
    2, 7, 0,  6,  13, 11, 5,  12, 1, 9, 11, 10, 0,  8,  12, 4,  13, 3,  7,  15,
    14, 5, 6, 2, 4, 0, 5, 9, 7, 12, 2, 10, 14, 1, 3, 8, 11, 6, 15, 13};
__constant uchar kRmdWordR[80] = {
    5, 14, 7, 0, 9, 2, 11, 4, 13, 6, 15, 8, 1, 10, 3, 12, 6, 11, 3, 7,
    0, 13, 5, 10, 14, 15, 8, 12, 4, 9, 1, 2, 15, 5, 1, 3, 7, 14, 6, 9,
    11, 8, 12, 2, 10, 0, 4, 13, 8, 6, 4, 1, 3, 11, 15, 0, 5, 12, 2, 13,
    9, 7, 10, 14, 12, 15, 10, 4, 1, 5, 8, 7, 6, 2, 13, 14, 0, 3, 9, 11};
__constant uchar kRmdShiftL[80] = {
    11, 14, 15, 12, 5, 8, 7, 9, 11, 13, 14, 15, 6, 7, 9, 8, 7, 6, 8, 13,
    11, 9, 7, 15, 7, 12, 15, 9, 11, 7, 13, 12, 11, 13, 6, 7, 14, 9, 13, 15,
    14, 8, 13, 6, 5, 12, 7, 5, 11, 12, 14, 15, 14, 15, 9, 8, 9, 14, 5, 6,
    8, 6, 5, 12, 9, 15, 5, 11, 6, 8, 13, 12, 5, 12, 13, 14, 11, 8, 5, 6};
__constant uchar kRmdShiftR[80] = {
    8, 9, 9, 11, 13, 15, 15, 5, 7, 7, 8, 11, 14, 14, 12, 6, 9, 13, 15, 7,
    12, 8, 9, 11, 7, 7, 12, 7, 6, 15, 13, 11, 9, 7, 15, 11, 8, 6, 6, 14,
    12, 13, 5, 14, 13, 13, 7, 5, 15, 5, 8, 11, 14, 14, 6, 14, 6, 9, 12, 9,
    12, 5, 15, 8, 8, 5, 12, 9, 12, 5, 14, 6, 8, 13, 6, 5, 15, 13, 11, 11};

// The round function of step i on the left (side 0) or right line.
#define RMD_FUNC(step, x, y, z)                                                           \
    ((step) < 16 ? RMD_F1(x, y, z)                                                        \
     : (step) < 32 ? RMD_F2(x, y, z)                                                      \
     : (step) < 48 ? RMD_F3(x, y, z)                                                      \
     : (step) < 64 ? RMD_F4(x, y, z)                                                      \
                   : RMD_F5(x, y, z))

INLINE uint rmd_const_left(int step) {
    return step < 16   ? 0x00000000u
           : step < 32 ? 0x5A827999u
           : step < 48 ? 0x6ED9EBA1u
           : step < 64 ? 0x8F1BBCDCu
                       : 0xA953FD4Eu;
}

INLINE uint rmd_const_right(int step) {
    return step < 16   ? 0x50A28BE6u
           : step < 32 ? 0x5C4DD124u
           : step < 48 ? 0x6D703EF3u
           : step < 64 ? 0x7A6D76E9u
                       : 0x00000000u;
}

// RIPEMD-160 of a 32-byte message given as eight little-endian words: one block.
INLINE void ripemd160_32(const uint m[8], uint out[5]) {
    uint x[16];
    for (int i = 0; i < 8; ++i)
        x[i] = m[i];
    x[8] = 0x80u;
    for (int i = 9; i < 16; ++i)
        x[i] = 0;
    x[14] = 256u;
    const uint h0 = 0x67452301u, h1 = 0xEFCDAB89u, h2 = 0x98BADCFEu, h3 = 0x10325476u,
               h4 = 0xC3D2E1F0u;
    uint al = h0, bl = h1, cl = h2, dl = h3, el = h4;
    uint ar = h0, br = h1, cr = h2, dr = h3, er = h4;
#pragma unroll
    for (int i = 0; i < 80; ++i) {
        uint t = al + RMD_FUNC(i, bl, cl, dl) + x[kRmdWordL[i]] + rmd_const_left(i);
        t = ROTL32(t, kRmdShiftL[i]) + el;
        al = el;
        el = dl;
        dl = ROTL32(cl, 10);
        cl = bl;
        bl = t;
        t = ar + RMD_FUNC(79 - i, br, cr, dr) + x[kRmdWordR[i]] + rmd_const_right(i);
        t = ROTL32(t, kRmdShiftR[i]) + er;
        ar = er;
        er = dr;
        dr = ROTL32(cr, 10);
        cr = br;
        br = t;
    }
    const uint t = h1 + cl + dr;
    out[1] = h2 + dl + er;
    out[2] = h3 + el + ar;
    out[3] = h4 + al + br;
    out[4] = h0 + bl + cr;
    out[0] = t;
}

INLINE uint bswap32(uint v) {
    return (v >> 24) | ((v >> 8) & 0x0000FF00u) | ((v << 8) & 0x00FF0000u) | (v << 24);
}

// hash160 of a public key whose SHA-256 state is `h`: RIPEMD-160 over the digest's bytes.
// The result is five words of the hash160 read big-endian, so that comparing words in
// order compares the hash160 as a number.
INLINE void hash160_finish(const uint h[8], uint out[5]) {
    uint m[8];
    for (int i = 0; i < 8; ++i)
        m[i] = bswap32(h[i]);
    uint r[5];
    ripemd160_32(m, r);
    for (int i = 0; i < 5; ++i)
        out[i] = bswap32(r[i]);
}

// hash160 of the compressed key (prefix, x): 33 bytes, one SHA-256 block.
INLINE void hash160_compressed(uint prefix, const fe* x, uint out[5]) {
    uint m[16];
    m[0] = (prefix << 24) | (x->v[7] >> 8);
    for (int i = 1; i < 8; ++i)
        m[i] = (x->v[8 - i] << 24) | (x->v[7 - i] >> 8);
    m[8] = (x->v[0] << 24) | 0x00800000u;
    for (int i = 9; i < 15; ++i)
        m[i] = 0;
    m[15] = 33u * 8u;
    uint h[8];
    sha256_init(h);
    sha256_block(h, m);
    hash160_finish(h, out);
}

// hash160 of the uncompressed key 04 || x || y: 65 bytes, two SHA-256 blocks.
INLINE void hash160_uncompressed(const fe* x, const fe* y, uint out[5]) {
    uint m[16];
    m[0] = (0x04u << 24) | (x->v[7] >> 8);
    for (int i = 1; i < 8; ++i)
        m[i] = (x->v[8 - i] << 24) | (x->v[7 - i] >> 8);
    m[8] = (x->v[0] << 24) | (y->v[7] >> 8);
    for (int i = 1; i < 8; ++i)
        m[8 + i] = (y->v[8 - i] << 24) | (y->v[7 - i] >> 8);
    uint h[8];
    sha256_init(h);
    sha256_block(h, m);
    m[0] = (y->v[0] << 24) | 0x00800000u;
    for (int i = 1; i < 15; ++i)
        m[i] = 0;
    m[15] = 65u * 8u;
    sha256_block(h, m);
    hash160_finish(h, out);
}
