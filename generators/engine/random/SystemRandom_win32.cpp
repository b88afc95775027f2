#include "engine/random/SystemRandom.h"

#include <stdexcept>
// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

namespace tarwick::engine {

void systemRandomBytes(std::uint8_t* out, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        const std::size_t chunk = length - done > 0x40000000u ? 0x40000000u : length - done;
        const NTSTATUS status = BCryptGenRandom(nullptr, out + done, static_cast<ULONG>(chunk),
                                                BCRYPT_USE_SYSTEM_PREFERRED_RNG);
        if (!BCRYPT_SUCCESS(status)) {
            throw std::runtime_error("BCryptGenRandom failed");
        }
        done += chunk;
    }
}

} // namespace tarwick::engine
