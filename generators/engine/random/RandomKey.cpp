#include "engine/random/SystemRandom.h"

namespace tarwick::engine {

Scalar randomPrivateKey() {
    // Rejection sampling: a 256-bit value is at or above n with probability below 2^-127.
    for (;;) {
        std::uint8_t bytes[32];
        systemRandomBytes(bytes, sizeof bytes);
        Scalar key;
        const bool valid = Scalar::fromBytes(bytes, key) && !key.isZero();
        for (std::uint8_t& b : bytes) {
            b = 0;
        }
        if (valid) {
            return key;
        }
    }
}

} // namespace tarwick::engine
