#include "engine/random/SystemRandom.h"

#include <cerrno>
#include <stdexcept>
#include <sys/random.h>

namespace tarwick::engine {

void systemRandomBytes(std::uint8_t* out, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        // Blocks until the kernel's generator is seeded; never falls back to /dev/urandom
        // before that.
        const ssize_t got = getrandom(out + done, length - done, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::runtime_error("getrandom failed");
        }
        done += static_cast<std::size_t>(got);
    }
}

} // namespace tarwick::engine
