#include "engine/hash/Hash160.h"

#include "engine/hash/Ripemd160.h"
#include "engine/hash/Sha256.h"
#include "engine/hash/detail/Kernels.h"

#include <cstdlib>

namespace tarwick::engine {

namespace {

// SHA-256 on the SHA extensions, then RIPEMD-160 on `ripemd`, in chunks small enough for the
// digests to stay in the first-level cache between the two passes.
void hash160ShaNiThen(void (*ripemd)(const std::uint8_t*, std::size_t, std::uint8_t*),
                      const std::uint8_t* keys, std::size_t length, std::size_t count,
                      std::uint8_t* out) {
    constexpr std::size_t kChunk = 256;
    std::uint8_t digests[kChunk * 32];
    for (std::size_t done = 0; done < count; done += kChunk) {
        const std::size_t n = count - done < kChunk ? count - done : kChunk;
        hash_detail::sha256KeysShaNi(keys + done * length, length, n, digests);
        ripemd(digests, n, out + done * 20);
    }
}

HashBackend chooseBatchBackend() {
    if (const char* forced = std::getenv("TARWICK_HASH_BACKEND")) {
        const auto backend = hashBackendFromName(forced);
        if (backend && hashBackendSupported(*backend)) {
            return *backend;
        }
    }
    return fastestHashBackend();
}

} // namespace

void hash160(const std::uint8_t* data, std::size_t length, std::uint8_t out[20]) {
    std::uint8_t digest[32];
    sha256(data, length, digest);
    ripemd160(digest, sizeof digest, out);
}

void hash160BatchWith(HashBackend backend, const std::uint8_t* pubkeys, std::size_t pubkeyLength,
                      std::size_t count, std::uint8_t* out) {
    // The lane code knows the padding of 33- and 65-byte keys only; anything else, and a
    // backend this CPU cannot run, goes the portable way rather than wrong or to SIGILL.
    if (pubkeyLength != 33 && pubkeyLength != 65) {
        for (std::size_t i = 0; i < count; ++i) {
            hash160(pubkeys + i * pubkeyLength, pubkeyLength, out + i * 20);
        }
        return;
    }
    if (!hashBackendSupported(backend)) {
        backend = HashBackend::Scalar;
    }
    switch (backend) {
    case HashBackend::Scalar:
        hash_detail::hash160KeysPortable(pubkeys, pubkeyLength, count, out);
        return;
    case HashBackend::ShaNi:
        hash160ShaNiThen(hash_detail::ripemd160DigestsPortable, pubkeys, pubkeyLength, count, out);
        return;
    case HashBackend::Avx2:
        hash_detail::hash160KeysAvx2(pubkeys, pubkeyLength, count, out);
        return;
    case HashBackend::ShaNiAvx2:
        hash160ShaNiThen(hash_detail::ripemd160DigestsAvx2, pubkeys, pubkeyLength, count, out);
        return;
    case HashBackend::Avx512:
        hash_detail::hash160KeysAvx512(pubkeys, pubkeyLength, count, out);
        return;
    case HashBackend::ShaNiAvx512:
        hash160ShaNiThen(hash_detail::ripemd160DigestsAvx512, pubkeys, pubkeyLength, count, out);
        return;
    }
}

HashBackend hash160BatchBackend() {
    static const HashBackend chosen = chooseBatchBackend();
    return chosen;
}

void hash160Batch(const std::uint8_t* pubkeys, std::size_t pubkeyLength, std::size_t count,
                  std::uint8_t* out) {
    hash160BatchWith(hash160BatchBackend(), pubkeys, pubkeyLength, count, out);
}

const char* hashBackendName() {
    return hashBackendName(hash160BatchBackend());
}

} // namespace tarwick::engine
