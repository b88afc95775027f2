#pragma once

// Independent references for the generator tests: libsecp256k1 for curve points and
// private-key arithmetic, OpenSSL for hashes, big numbers and Base58 decoding. Nothing here
// calls the engine.

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tarwick::test {

using Bytes = std::vector<std::uint8_t>;
using Key = std::array<std::uint8_t, 32>;

// Loop counts shrink in sanitizer builds, where everything runs many times slower.
int iterations(int normal);
// The count of a loop over random values: TARWICK_TEST_ITERATIONS when set (a long run, or a
// short replay), otherwise iterations(normal).
int randomIterations(int normal);

// Random test values come from one seed per run: fresh each run and printed, or replayed
// from TARWICK_TEST_SEED. Each stream number gives a test its own values from that seed.
std::mt19937_64 randomEngine(std::uint64_t stream);

class TestRandom {
public:
    explicit TestRandom(std::uint64_t stream) : engine_(randomEngine(stream)) {}
    Bytes bytes(std::size_t length);
    // Long runs of zero bits and of one bits, which reach the carries and the values next to
    // the moduli that uniform bytes almost never do.
    Bytes edgeBytes(std::size_t length);
    // A private key in [1, n - 1]: uniform and from edgeBytes in turn.
    Key key();
    std::uint64_t below(std::uint64_t bound) { return engine_() % bound; }

private:
    std::mt19937_64 engine_;
    bool nextKeyAtEdge_ = false;
};

Key keyFromHex(const std::string& hex);
Key keyFromUint64(std::uint64_t value);
std::string toHex(const std::uint8_t* data, std::size_t length);
template <typename Container>
std::string toHex(const Container& c) {
    return toHex(c.data(), c.size());
}

// libsecp256k1
bool referenceKeyValid(const Key& key);
Bytes referencePublicKey(const Key& key, bool compressed);
Key referenceKeyTimes(const Key& key, const Key& factor); // key * factor mod n
Key referenceKeyNegated(const Key& key);                  // n - key
Key referenceKeyPlus(const Key& key, const Key& addend);  // key + addend mod n

// OpenSSL
Bytes referenceHash160(const Bytes& data);
Bytes referenceSha256(const Bytes& data);
// Base58Check text -> payload (version byte included), or nothing when the text is not
// Base58 or its checksum is wrong.
std::optional<Bytes> referenceBase58CheckDecode(const std::string& text);

// payload (version byte included) -> Base58Check text, with OpenSSL's big numbers.
std::string referenceBase58CheckEncode(const Bytes& payload);
// The P2PKH address of a key, from libsecp256k1, OpenSSL hashes and the encoder above.
std::string referenceAddress(const Key& key, bool compressed);

// Everything a reported key must satisfy, re-derived from the WIF text alone: empty when
// the WIF decodes to a valid key whose P2PKH address (of the given compression, from
// libsecp256k1 and OpenSSL) is exactly `address`; otherwise the reason.
std::string referenceAddressMismatch(const std::string& wif, const std::string& address,
                                     bool compressed);

// The private key of a WIF text (either compression), with OpenSSL's Base58 decoding.
std::optional<Key> referenceKeyOfWif(const std::string& wif);

// Keys found by one run must be unrelated: whoever learns one must learn nothing of another.
// The first two keys of which one lies within 2^128 of one of the other's six images (k, -k,
// lambda*k, -lambda*k, lambda^2*k, -lambda^2*k mod n), described; empty when there are none.
std::string closelyRelatedKeys(const std::vector<Key>& keys);

} // namespace tarwick::test
