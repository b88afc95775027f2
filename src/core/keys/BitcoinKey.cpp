#include "core/keys/BitcoinKey.h"

#include "core/keys/Base58.h"

#include <algorithm>
#include <memory>
#include <openssl/evp.h>
#include <secp256k1.h>
#include <vector>

namespace tarwick {
namespace {

constexpr std::uint8_t kWifVersion = 0x80;
constexpr std::uint8_t kAddressVersion = 0x00;
constexpr std::uint8_t kCompressedSuffix = 0x01;

std::vector<std::uint8_t> digest(const EVP_MD* type, const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out(EVP_MAX_MD_SIZE);
    unsigned length = 0;
    EVP_Digest(data, size, out.data(), &length, type, nullptr);
    out.resize(length);
    return out;
}

std::vector<std::uint8_t> sha256d(const std::vector<std::uint8_t>& data) {
    const auto once = digest(EVP_sha256(), data.data(), data.size());
    return digest(EVP_sha256(), once.data(), once.size());
}

struct ContextDeleter {
    void operator()(secp256k1_context* context) const { secp256k1_context_destroy(context); }
};

const secp256k1_context* context() {
    static const std::unique_ptr<secp256k1_context, ContextDeleter> shared(
        secp256k1_context_create(SECP256K1_CONTEXT_NONE));
    return shared.get();
}

} // namespace

std::variant<WifKey, WifError> decodeWif(std::string_view wif) {
    const auto bytes = decodeBase58(wif, 60);
    if (!bytes || (bytes->size() != 37 && bytes->size() != 38)) {
        return WifError::NotWif;
    }
    const std::vector<std::uint8_t> payload(bytes->begin(), bytes->end() - 4);
    if (!std::equal(bytes->end() - 4, bytes->end(), sha256d(payload).begin())) {
        return WifError::BadChecksum;
    }
    const bool compressed = payload.size() == 34;
    if (payload[0] != kWifVersion || (compressed && payload[33] != kCompressedSuffix)) {
        return WifError::NotWif;
    }
    WifKey key;
    key.compressed = compressed;
    std::copy(payload.begin() + 1, payload.begin() + 33, key.secret.begin());
    if (!secp256k1_ec_seckey_verify(context(), key.secret.data())) {
        return WifError::OutOfRange;
    }
    return key;
}

std::string encodeWif(const WifKey& key) {
    // Sized up front: GCC 12 warns falsely (-Warray-bounds) on inserting into a one-byte vector.
    std::vector<std::uint8_t> payload(1 + key.secret.size(), kWifVersion);
    std::copy(key.secret.begin(), key.secret.end(), payload.begin() + 1);
    if (key.compressed) {
        payload.push_back(kCompressedSuffix);
    }
    const auto check = sha256d(payload);
    payload.insert(payload.end(), check.begin(), check.begin() + 4);
    return encodeBase58(payload);
}

std::string addressOfKey(const WifKey& key) {
    secp256k1_pubkey point;
    if (!secp256k1_ec_pubkey_create(context(), &point, key.secret.data())) {
        return {};
    }
    std::uint8_t serialized[65];
    std::size_t size = sizeof serialized;
    secp256k1_ec_pubkey_serialize(context(), serialized, &size, &point,
                                  key.compressed ? SECP256K1_EC_COMPRESSED
                                                 : SECP256K1_EC_UNCOMPRESSED);
    const auto sha = digest(EVP_sha256(), serialized, size);
    const auto hash160 = digest(EVP_ripemd160(), sha.data(), sha.size());
    std::vector<std::uint8_t> versioned(1 + hash160.size(), kAddressVersion);
    std::copy(hash160.begin(), hash160.end(), versioned.begin() + 1);
    const auto check = sha256d(versioned);
    versioned.insert(versioned.end(), check.begin(), check.begin() + 4);
    return encodeBase58(versioned);
}

} // namespace tarwick
