#include "engine/verify/ReferenceKeyCheck.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <secp256k1.h>
#include <stdexcept>

namespace tarwick::engine {

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes digest(const EVP_MD* md, const Bytes& data) {
    Bytes out(static_cast<std::size_t>(EVP_MD_get_size(md)));
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), out.data(), &length, md, nullptr) != 1) {
        throw std::runtime_error("OpenSSL digest failed");
    }
    out.resize(length);
    return out;
}

std::string base58CheckWithOpenSsl(Bytes payload) {
    const Bytes check = digest(EVP_sha256(), digest(EVP_sha256(), payload));
    payload.insert(payload.end(), check.begin(), check.begin() + 4);
    static constexpr char kAlphabet[] =
        "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
    std::unique_ptr<BIGNUM, decltype(&BN_free)> value(
        BN_bin2bn(payload.data(), static_cast<int>(payload.size()), nullptr), &BN_free);
    if (!value) {
        throw std::runtime_error("OpenSSL BN_bin2bn failed");
    }
    std::string reversed;
    while (!BN_is_zero(value.get())) {
        const BN_ULONG digit = BN_div_word(value.get(), 58);
        if (digit == static_cast<BN_ULONG>(-1)) {
            throw std::runtime_error("OpenSSL BN_div_word failed");
        }
        reversed.push_back(kAlphabet[digit]);
    }
    for (std::size_t i = 0; i < payload.size() && payload[i] == 0; ++i) {
        reversed.push_back('1');
    }
    return {reversed.rbegin(), reversed.rend()};
}

bool startsWith(const std::string& text, const std::string& prefix, bool caseInsensitive) {
    if (prefix.size() > text.size()) {
        return false;
    }
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [&](char a, char b) {
        if (!caseInsensitive) {
            return a == b;
        }
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

std::string referenceBase58Check(const std::uint8_t* payload, std::size_t length) {
    return base58CheckWithOpenSsl(Bytes(payload, payload + length));
}

ReferenceKeyCheck::ReferenceKeyCheck()
    : context_(secp256k1_context_create(SECP256K1_CONTEXT_NONE)) {
    if (context_ == nullptr) {
        throw std::runtime_error("libsecp256k1 context creation failed");
    }
}

ReferenceKeyCheck::~ReferenceKeyCheck() {
    secp256k1_context_destroy(context_);
}

std::string ReferenceKeyCheck::problem(const FoundKey& key, bool caseInsensitive) const {
    if (secp256k1_ec_seckey_verify(context_, key.privateKey.data()) != 1) {
        return "the private key is not a valid secp256k1 key";
    }
    secp256k1_pubkey pubkey;
    if (secp256k1_ec_pubkey_create(context_, &pubkey, key.privateKey.data()) != 1) {
        return "libsecp256k1 could not derive the public key";
    }
    Bytes reference(65);
    std::size_t length = reference.size();
    secp256k1_ec_pubkey_serialize(context_, reference.data(), &length, &pubkey,
                                  key.compressed ? SECP256K1_EC_COMPRESSED
                                                 : SECP256K1_EC_UNCOMPRESSED);
    reference.resize(length);
    if (reference != key.publicKey) {
        return "the public key differs from libsecp256k1's";
    }
    const Bytes hash = digest(EVP_ripemd160(), digest(EVP_sha256(), reference));
    if (!std::equal(hash.begin(), hash.end(), key.hash160.begin(), key.hash160.end())) {
        return "the public key hash differs from OpenSSL's";
    }
    Bytes addressPayload{0x00};
    addressPayload.insert(addressPayload.end(), hash.begin(), hash.end());
    if (base58CheckWithOpenSsl(addressPayload) != key.address) {
        return "the address text differs from the reference encoding";
    }
    Bytes wifPayload{0x80};
    wifPayload.insert(wifPayload.end(), key.privateKey.begin(), key.privateKey.end());
    if (key.compressed) {
        wifPayload.push_back(0x01);
    }
    if (base58CheckWithOpenSsl(wifPayload) != key.privateKeyWif) {
        return "the private key text differs from the reference encoding";
    }
    if (key.pattern.empty() || !startsWith(key.address, key.pattern, caseInsensitive)) {
        return "the address does not begin with the pattern";
    }
    return {};
}

} // namespace tarwick::engine
