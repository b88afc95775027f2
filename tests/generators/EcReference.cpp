#include "EcReference.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    Bytes out(EVP_MAX_MD_SIZE);
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), out.data(), &length, md, nullptr) != 1) {
        throw std::runtime_error("EVP_Digest failed");
    }
    out.resize(length);
    return out;
}

Bytes checksum(const Bytes& payload) {
    const Bytes hash = digest(EVP_sha256(), digest(EVP_sha256(), payload));
    return {hash.begin(), hash.begin() + 4};
}

// A libsecp256k1 private-key operation on a copy of key; it refuses a result of zero.
template <typename Operation>
Key secretOp(Key key, Operation operation) {
    if (operation(key.data()) != 1) {
        throw std::invalid_argument("libsecp256k1 refuses the key");
    }
    return key;
}

constexpr char kBase58[] = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
using Bn = std::unique_ptr<BIGNUM, decltype(&BN_free)>;

} // namespace

int iterations(int normal) {
#if defined(TARWICK_TESTS_SANITIZED)
    return std::max(1, normal / 10);
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
        std::random_device device;
        const std::uint64_t s = replay != nullptr ? std::strtoull(replay, nullptr, 10)
                                                  : (std::uint64_t{device()} << 32) | device();
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
    std::generate(out.begin(), out.end(), [&] { return static_cast<std::uint8_t>(engine_()); });
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
    for (Key k;;) {
        const Bytes b = nextKeyAtEdge_ ? edgeBytes(32) : bytes(32);
        std::copy(b.begin(), b.end(), k.begin());
        if (referenceKeyValid(k)) {
            return k;
        }
    }
}

Key keyFromHex(const std::string& hex) {
    BIGNUM* parsed = nullptr;
    if (hex.size() > 64 || BN_hex2bn(&parsed, hex.c_str()) != static_cast<int>(hex.size())) {
        throw std::invalid_argument("not a 32-byte hex key: " + hex);
    }
    const Bn value(parsed != nullptr ? parsed : BN_new(), &BN_free);
    Key k;
    BN_bn2binpad(value.get(), k.data(), 32);
    return k;
}

Key keyFromUint64(std::uint64_t value) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(value));
    return keyFromHex(hex);
}

std::string toHex(const std::uint8_t* data, std::size_t length) {
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        out += {"0123456789abcdef"[data[i] >> 4], "0123456789abcdef"[data[i] & 15]};
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

Key referenceKeyNegated(const Key& key) {
    return secretOp(key, [](auto k) { return secp256k1_ec_seckey_negate(context(), k); });
}

Key referenceKeyPlus(const Key& key, const Key& addend) {
    return secretOp(
        key, [&](auto k) { return secp256k1_ec_seckey_tweak_add(context(), k, addend.data()); });
}

std::vector<Key> referenceCandidateKeys(const Key& key) {
    const Key lambda =
        keyFromHex("5363ad4cc05c30e0a5261c028812645a122e22ea20816678df02967c1b23bd72");
    const auto byLambda = [&](auto k) {
        return secp256k1_ec_seckey_tweak_mul(context(), k, lambda.data());
    };
    const Key l1 = secretOp(key, byLambda), l2 = secretOp(l1, byLambda);
    return {key, referenceKeyNegated(key), l1, referenceKeyNegated(l1),
            l2,  referenceKeyNegated(l2)};
}

Bytes referenceHash160(const Bytes& data) {
    return digest(EVP_ripemd160(), digest(EVP_sha256(), data));
}

std::optional<Bytes> referenceBase58CheckDecode(const std::string& text) {
    Bn value(BN_new(), &BN_free);
    const std::size_t leadingOnes = std::min(text.find_first_not_of('1'), text.size());
    for (char c : text) {
        const char* digit = c != '\0' ? std::strchr(kBase58, c) : nullptr;
        if (digit == nullptr) {
            return std::nullopt;
        }
        BN_mul_word(value.get(), 58);
        BN_add_word(value.get(), static_cast<BN_ULONG>(digit - kBase58));
    }
    Bytes all(leadingOnes + static_cast<std::size_t>(BN_num_bytes(value.get())), 0);
    BN_bn2bin(value.get(), all.data() + leadingOnes);
    if (all.size() < 5) {
        return std::nullopt;
    }
    const Bytes payload(all.begin(), all.end() - 4);
    return Bytes(all.end() - 4, all.end()) == checksum(payload) ? std::optional(payload)
                                                                : std::nullopt;
}

std::string referenceBase58CheckEncode(const Bytes& payload) {
    Bytes all = payload;
    const Bytes check = checksum(payload);
    all.insert(all.end(), check.begin(), check.end());
    Bn value(BN_bin2bn(all.data(), static_cast<int>(all.size()), nullptr), &BN_free);
    std::string text;
    while (!BN_is_zero(value.get())) {
        text.insert(text.begin(), kBase58[BN_div_word(value.get(), 58)]);
    }
    const auto zeros = std::find_if(all.begin(), all.end(), [](auto b) { return b != 0; });
    return std::string(static_cast<std::size_t>(zeros - all.begin()), '1') + text;
}

std::string referenceAddressOfHash(std::uint8_t version, const std::uint8_t* hash160) {
    Bytes payload(hash160, hash160 + 20);
    payload.insert(payload.begin(), version);
    return referenceBase58CheckEncode(payload);
}

std::string referenceAddress(const Key& key, bool compressed) {
    return referenceAddressOfHash(0, referenceHash160(referencePublicKey(key, compressed)).data());
}

std::string referenceAddressMismatch(const std::string& wif, const std::string& address,
                                     bool compressed) {
    const auto payload = referenceBase58CheckDecode(wif);
    const auto key = referenceKeyOfWif(wif);
    if (!key || payload->size() != (compressed ? 34u : 33u) ||
        (compressed && payload->back() != 1)) {
        return "WIF is not Base58Check of the right layout: " + wif;
    }
    if (!referenceKeyValid(*key)) {
        return "WIF holds an invalid key";
    }
    // Base58Check is one to one: only the canonical text of the key's address is equal.
    return address == referenceAddress(*key, compressed) ? ""
                                                         : "the key does not control " + address;
}

std::optional<Key> referenceKeyOfWif(const std::string& wif) {
    const auto payload = referenceBase58CheckDecode(wif);
    if (!payload || payload->size() < 33 || (*payload)[0] != 0x80) {
        return std::nullopt;
    }
    Key key;
    std::copy(payload->begin() + 1, payload->begin() + 33, key.begin());
    return key;
}

std::string closelyRelatedKeys(const std::vector<Key>& keys) {
    // Every image, sorted: a pair within 2^128 shows up as neighbours (or last and first).
    std::vector<std::pair<Key, std::size_t>> images;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (const Key& k : referenceCandidateKeys(keys[i])) {
            images.emplace_back(k, i);
        }
    }
    std::sort(images.begin(), images.end());
    for (std::size_t a = 0; a < images.size(); ++a) {
        const auto& [low, i] = images[a];
        const auto& [high, j] = images[(a + 1) % images.size()];
        if (i == j) {
            continue;
        }
        const Key gap = low == high ? Key{} : referenceKeyPlus(high, referenceKeyNegated(low));
        if (std::all_of(gap.begin(), gap.begin() + 16, [](std::uint8_t b) { return b == 0; })) {
            return "keys " + toHex(keys[i]) + " and " + toHex(keys[j]) + " are within 2^128";
        }
    }
    return {};
}

} // namespace tarwick::test
