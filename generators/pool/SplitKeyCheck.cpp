#include "pool/SplitKeyCheck.h"

#include "engine/verify/ReferenceKeyCheck.h"

#include <openssl/evp.h>
#include <secp256k1.h>
#include <stdexcept>
#include <vector>

namespace tarwick::pool {

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes digest(const EVP_MD* md, const std::uint8_t* data, std::size_t length) {
    Bytes out(static_cast<std::size_t>(EVP_MD_get_size(md)));
    unsigned int written = 0;
    if (EVP_Digest(data, length, out.data(), &written, md, nullptr) != 1) {
        throw std::runtime_error("OpenSSL digest failed");
    }
    out.resize(written);
    return out;
}

} // namespace

SplitKeyCheck::SplitKeyCheck() : context_(secp256k1_context_create(SECP256K1_CONTEXT_NONE)) {
    if (context_ == nullptr) {
        throw std::runtime_error("libsecp256k1 context creation failed");
    }
}

SplitKeyCheck::~SplitKeyCheck() {
    secp256k1_context_destroy(context_);
}

std::string SplitKeyCheck::address(const std::array<std::uint8_t, 65>& publicKey,
                                   const std::array<std::uint8_t, 32>& offset,
                                   std::uint8_t version) const {
    secp256k1_pubkey point;
    if (secp256k1_ec_pubkey_parse(context_, &point, publicKey.data(), publicKey.size()) != 1) {
        return {};
    }
    if (secp256k1_ec_pubkey_tweak_add(context_, &point, offset.data()) != 1) {
        return {};
    }
    std::uint8_t serialized[65];
    std::size_t length = sizeof serialized;
    secp256k1_ec_pubkey_serialize(context_, serialized, &length, &point, SECP256K1_EC_UNCOMPRESSED);
    const Bytes sha = digest(EVP_sha256(), serialized, length);
    const Bytes hash = digest(EVP_ripemd160(), sha.data(), sha.size());
    Bytes payload{version};
    payload.insert(payload.end(), hash.begin(), hash.end());
    return engine::referenceBase58Check(payload.data(), payload.size());
}

std::string SplitKeyCheck::problem(const Solution& solution) const {
    const std::string reference =
        address(solution.publicKey, solution.offset, solution.addressVersion);
    if (reference.empty()) {
        return "libsecp256k1 cannot add k*G to the public key";
    }
    if (reference != solution.address) {
        return "the address of P + k*G differs from the reference (" + reference + ")";
    }
    if (solution.pattern.empty() ||
        reference.compare(0, solution.pattern.size(), solution.pattern) != 0) {
        return "the address does not begin with the pattern";
    }
    return {};
}

} // namespace tarwick::pool
