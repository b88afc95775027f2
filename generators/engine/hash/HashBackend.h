#pragma once

#include <optional>
#include <string_view>

namespace tarwick::engine {

// The implementations of the batched hash160 that a build carries. Which ones a CPU can run is
// decided at run time, so one binary runs everywhere and still uses the widest units present.
enum class HashBackend {
    Scalar,      // portable code, one key at a time; always available
    ShaNi,       // SHA-256 on the SHA extensions, RIPEMD-160 scalar
    Avx2,        // 8 keys at a time through both hashes
    ShaNiAvx2,   // SHA-256 on the SHA extensions, RIPEMD-160 8 keys at a time
    Avx512,      // 16 keys at a time through both hashes
    ShaNiAvx512, // SHA-256 on the SHA extensions, RIPEMD-160 16 keys at a time
};

inline constexpr HashBackend kAllHashBackends[] = {HashBackend::Scalar, HashBackend::ShaNi,
                                                   HashBackend::Avx2,   HashBackend::ShaNiAvx2,
                                                   HashBackend::Avx512, HashBackend::ShaNiAvx512};

// True when this CPU (and the operating system, for the wide registers) can run `backend`.
bool hashBackendSupported(HashBackend backend);

// The fastest backend this CPU supports, from a fixed order of preference (see HashBackend.cpp
// for the measurements behind it).
HashBackend fastestHashBackend();

// Short lower-case names ("scalar", "sha-ni", "avx2", "sha-ni+avx2", "avx512", "sha-ni+avx512"),
// used in status output, benchmarks and the TARWICK_HASH_BACKEND override.
const char* hashBackendName(HashBackend backend);
std::optional<HashBackend> hashBackendFromName(std::string_view name);

} // namespace tarwick::engine
