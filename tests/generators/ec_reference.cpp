#include "ec_reference.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <secp256k1.h>
#include <stdexcept>

namespace tarwick::test {

namespace {

secp256k1_context* context() {
    static secp256k1_context* ctx = secp256k1_context_create(SECP256K1_CONTEXT_NONE);
    return ctx;
}

Bytes digest(const EVP_MD* md, const Bytes& data) {
    Bytes out(64);
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), out.data(), &length, md, nullptr) != 1) {
        throw std::runtime_error("EVP_Digest failed");
    }
    out.resize(length);
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    throw std::invalid_argument("not a hex digit");
}

} // namespace

int iterations(int normal) {
#if defined(TARWICK_TESTS_SANITIZED)
    return normal / 10 > 0 ? normal / 10 : 1;
#else
    return normal;
#endif
}

int randomIterations(int normal) {
    const char* count = std::getenv("TARWICK_TEST_ITERATIONS");
    return count != nullptr ? std::max(1, std::atoi(count)) : iterations(normal);
}

std::mt19937_64 randomEngine(std::uint64_t stream) {
    static const std::uint64_t seed = [] {
        const char* replay = std::getenv("TARWICK_TEST_SEED");
        const std::uint64_t s = replay != nullptr ? std::strtoull(replay, nullptr, 10)
                                                  : (std::uint64_t{std::random_device{}()} << 32) |
                                                        std::random_device{}();
        std::printf("random test values from TARWICK_TEST_SEED=%llu\n",
                    static_cast<unsigned long long>(s));
        std::fflush(stdout); // before a failed engine check aborts the run
        return s;
    }();
    std::seed_seq sequence{seed, seed >> 32, stream};
    return std::mt19937_64(sequence);
}

Bytes TestRandom::bytes(std::size_t length) {
    Bytes out(length);
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(engine_());
    }
    return out;
}

Bytes TestRandom::edgeBytes(std::size_t length) {
    Bytes out(length, 0);
    for (std::size_t bit = 0; bit < 8 * length;) {
        // Runs of 1 to 64 bits, short and long ones about equally often.
        const std::uint64_t run = 1 + below(std::uint64_t{1} << below(7));
        const bool one = (engine_() & 1) != 0;
        for (std::uint64_t i = 0; i < run && bit < 8 * length; ++i, ++bit) {
            out[bit / 8] |= static_cast<std::uint8_t>(one ? 0x80 >> (bit % 8) : 0);
        }
    }
    return out;
}

Key TestRandom::key() {
    nextKeyAtEdge_ = !nextKeyAtEdge_;
    for (;;) {
        const Bytes b = nextKeyAtEdge_ ? edgeBytes(32) : bytes(32);
        Key k;
        std::copy(b.begin(), b.end(), k.begin());
        if (referenceKeyValid(k)) {
            return k;
        }
    }
}

Key keyFromHex(const std::string& hex) {
    if (hex.size() > 64) {
        throw std::invalid_argument("key longer than 32 bytes");
    }
    const std::string padded = std::string(64 - hex.size(), '0') + hex;
    Key k{};
    for (std::size_t i = 0; i < 32; ++i) {
        k[i] =
            static_cast<std::uint8_t>(hexDigit(padded[2 * i]) * 16 + hexDigit(padded[2 * i + 1]));
    }
    return k;
}

Key keyFromUint64(std::uint64_t value) {
    Key k{};
    for (int i = 31; i >= 24; --i) {
        k[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
    return k;
}

std::string toHex(const std::uint8_t* data, std::size_t length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(kDigits[data[i] >> 4]);
        out.push_back(kDigits[data[i] & 15]);
    }
    return out;
}

bool referenceKeyValid(const Key& key) {
    return secp256k1_ec_seckey_verify(context(), key.data()) == 1;
}

Bytes referencePublicKey(const Key& key, bool compressed) {
    secp256k1_pubkey pubkey;
    if (secp256k1_ec_pubkey_create(context(), &pubkey, key.data()) != 1) {
        throw std::invalid_argument("libsecp256k1 rejects the key");
    }
    Bytes out(65);
    std::size_t length = out.size();
    secp256k1_ec_pubkey_serialize(context(), out.data(), &length, &pubkey,
                                  compressed ? SECP256K1_EC_COMPRESSED : SECP256K1_EC_UNCOMPRESSED);
    out.resize(length);
    return out;
}

Key referenceKeyTimes(const Key& key, const Key& factor) {
    Key out = key;
    if (secp256k1_ec_seckey_tweak_mul(context(), out.data(), factor.data()) != 1) {
        throw std::invalid_argument("libsecp256k1 rejects the product");
    }
    return out;
}

Key referenceKeyNegated(const Key& key) {
    Key out = key;
    if (secp256k1_ec_seckey_negate(context(), out.data()) != 1) {
        throw std::invalid_argument("libsecp256k1 rejects the negation");
    }
    return out;
}

Key referenceKeyPlus(const Key& key, const Key& addend) {
    Key out = key;
    if (secp256k1_ec_seckey_tweak_add(context(), out.data(), addend.data()) != 1) {
        throw std::invalid_argument("libsecp256k1 rejects the sum");
    }
    return out;
}

Bytes referenceSha256(const Bytes& data) {
    return digest(EVP_sha256(), data);
}

Bytes referenceHash160(const Bytes& data) {
    return digest(EVP_ripemd160(), digest(EVP_sha256(), data));
}

std::optional<Bytes> referenceBase58CheckDecode(const std::string& text) {
    static const std::string kAlphabet =
        "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
    std::unique_ptr<BIGNUM, decltype(&BN_free)> value(BN_new(), &BN_free);
    BN_zero(value.get());
    std::size_t leadingOnes = 0;
    bool leading = true;
    for (char c : text) {
        const auto digit = kAlphabet.find(c);
        if (digit == std::string::npos) {
            return std::nullopt;
        }
        if (leading && digit == 0) {
            ++leadingOnes;
            continue;
        }
        leading = false;
        BN_mul_word(value.get(), 58);
        BN_add_word(value.get(), static_cast<BN_ULONG>(digit));
    }
    Bytes body(static_cast<std::size_t>(BN_num_bytes(value.get())));
    BN_bn2bin(value.get(), body.data());
    Bytes all(leadingOnes, 0);
    all.insert(all.end(), body.begin(), body.end());
    if (all.size() < 5) {
        return std::nullopt;
    }
    const Bytes payload(all.begin(), all.end() - 4);
    const Bytes check = referenceSha256(referenceSha256(payload));
    if (!std::equal(all.end() - 4, all.end(), check.begin())) {
        return std::nullopt;
    }
    return payload;
}

std::string referenceBase58CheckEncode(const Bytes& payload) {
    static const char* kAlphabet = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
    Bytes all = payload;
    const Bytes check = referenceSha256(referenceSha256(payload));
    all.insert(all.end(), check.begin(), check.begin() + 4);
    std::unique_ptr<BIGNUM, decltype(&BN_free)> value(
        BN_bin2bn(all.data(), static_cast<int>(all.size()), nullptr), &BN_free);
    std::string reversed;
    while (!BN_is_zero(value.get())) {
        reversed.push_back(kAlphabet[BN_div_word(value.get(), 58)]);
    }
    for (std::size_t i = 0; i < all.size() && all[i] == 0; ++i) {
        reversed.push_back('1');
    }
    return {reversed.rbegin(), reversed.rend()};
}

std::string referenceAddress(const Key& key, bool compressed) {
    Bytes payload{0x00};
    const Bytes hash = referenceHash160(referencePublicKey(key, compressed));
    payload.insert(payload.end(), hash.begin(), hash.end());
    return referenceBase58CheckEncode(payload);
}

std::string referenceAddressMismatch(const std::string& wif, const std::string& address,
                                     bool compressed) {
    const auto wifPayload = referenceBase58CheckDecode(wif);
    if (!wifPayload) {
        return "WIF is not valid Base58Check: " + wif;
    }
    const std::size_t expectedLength = compressed ? 34 : 33;
    if (wifPayload->size() != expectedLength || (*wifPayload)[0] != 0x80 ||
        (compressed && (*wifPayload)[33] != 0x01)) {
        return "WIF has the wrong layout: " + wif;
    }
    Key key;
    std::copy(wifPayload->begin() + 1, wifPayload->begin() + 33, key.begin());
    if (!referenceKeyValid(key)) {
        return "WIF holds an invalid key";
    }
    const auto addressPayload = referenceBase58CheckDecode(address);
    if (!addressPayload || addressPayload->size() != 21 || (*addressPayload)[0] != 0x00) {
        return "address is not a valid P2PKH address: " + address;
    }
    const Bytes hash = referenceHash160(referencePublicKey(key, compressed));
    if (!std::equal(hash.begin(), hash.end(), addressPayload->begin() + 1)) {
        return "the key does not control " + address;
    }
    // Only the canonical text decodes to this payload with this length; reject others.
    if (address.size() < 26 || address.size() > 34 || address[0] != '1') {
        return "address text is not canonical: " + address;
    }
    return {};
}

std::optional<Key> referenceKeyOfWif(const std::string& wif) {
    const auto payload = referenceBase58CheckDecode(wif);
    if (!payload || payload->size() < 33 || (*payload)[0] != 0x80) {
        return std::nullopt;
    }
    Key key{};
    std::copy(payload->begin() + 1, payload->begin() + 33, key.begin());
    return key;
}

std::string closelyRelatedKeys(const std::vector<Key>& keys) {
    const Key lambda =
        keyFromHex("5363ad4cc05c30e0a5261c028812645a122e22ea20816678df02967c1b23bd72");
    // Every image, sorted: a pair within 2^128 of each other shows up as neighbours (or as the
    // last and the first, across n).
    std::vector<std::pair<Key, std::size_t>> images;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        Key k = keys[i];
        for (int power = 0; power < 3; ++power) {
            images.emplace_back(k, i);
            images.emplace_back(referenceKeyNegated(k), i);
            k = referenceKeyTimes(k, lambda);
        }
    }
    std::sort(images.begin(), images.end());
    for (std::size_t a = 0; a < images.size(); ++a) {
        const auto& [low, i] = images[a];
        const auto& [high, j] = images[(a + 1) % images.size()];
        if (i == j) {
            continue;
        }
        const bool close = low == high || [&] {
            const Key gap = referenceKeyPlus(high, referenceKeyNegated(low));
            return std::all_of(gap.begin(), gap.begin() + 16,
                               [](std::uint8_t b) { return b == 0; });
        }();
        if (close) {
            return "keys " + toHex(keys[i]) + " and " + toHex(keys[j]) + " are within 2^128";
        }
    }
    return {};
}

} // namespace tarwick::test
