#pragma once

// Independent references for the generator tests: libsecp256k1 for points and private-key
// arithmetic, OpenSSL for hashes, big numbers and Base58. Nothing here calls the engine.

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tarwick::test {

using Bytes = std::vector<std::uint8_t>;
using Key = std::array<std::uint8_t, 32>;

// Loop counts: a tenth in sanitizer builds; TARWICK_TEST_ITERATIONS overrides random loops.
int iterations(int normal);
int randomIterations(int normal);

// One seed per run, printed, or replayed from TARWICK_TEST_SEED; a stream per test.
std::mt19937_64 randomEngine(std::uint64_t stream);

class TestRandom {
public:
    explicit TestRandom(std::uint64_t stream) : engine_(randomEngine(stream)) {}
    Bytes bytes(std::size_t length);
    // Long runs of zero and one bits: the carries and near-modulus values uniform bytes miss.
    Bytes edgeBytes(std::size_t length);
    Key key(); // in [1, n - 1], uniform and from edgeBytes in turn
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

bool referenceKeyValid(const Key& key);
Bytes referencePublicKey(const Key& key, bool compressed);
Key referenceKeyNegated(const Key& key); // mod n; these throw on 0
Key referenceKeyPlus(const Key& key, const Key& addend);
// The six keys of one point's candidates: k, -k, lambda k, -lambda k, lambda^2 k, -lambda^2 k.
std::vector<Key> referenceCandidateKeys(const Key& key);

Bytes referenceHash160(const Bytes& data);
// Base58Check text -> payload (version byte included); nothing when not valid.
std::optional<Bytes> referenceBase58CheckDecode(const std::string& text);
std::string referenceBase58CheckEncode(const Bytes& payload);
std::string referenceAddressOfHash(std::uint8_t version, const std::uint8_t* hash160);
std::string referenceAddress(const Key& key, bool compressed); // P2PKH

// Empty when the WIF decodes to a valid key of the given compression whose P2PKH address is
// exactly `address`; otherwise the reason.
std::string referenceAddressMismatch(const std::string& wif, const std::string& address,
                                     bool compressed);
std::optional<Key> referenceKeyOfWif(const std::string& wif);

// Keys of one run must be unrelated: the first two of which one lies within 2^128 of one of
// the other's six candidate keys, described; empty when none.
std::string closelyRelatedKeys(const std::vector<Key>& keys);

} // namespace tarwick::test
