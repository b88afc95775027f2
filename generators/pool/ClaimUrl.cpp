#include "pool/ClaimUrl.h"

#include "pool/WorkList.h"

namespace tarwick::pool {

namespace {

std::string percentEncoded(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kDigits[u >> 4]);
            out.push_back(kDigits[u & 15]);
        }
    }
    return out;
}

} // namespace

std::string normalizedPoolUrl(std::string_view url) {
    while (!url.empty() && url.back() == '/') {
        url.remove_suffix(1);
    }
    return std::string(url) + "/";
}

std::string getWorkUrl(std::string_view baseUrl) {
    return normalizedPoolUrl(baseUrl) + "getWork";
}

std::string claimUrl(std::string_view baseUrl, std::string_view pattern,
                     const std::array<std::uint8_t, 65>& publicKey, const engine::Scalar& k,
                     std::string_view rewardAddress) {
    std::uint8_t kBytes[32];
    k.toBytes(kBytes);
    return normalizedPoolUrl(baseUrl) + "solve?key=" + percentEncoded(pattern) + "%3A" +
           upperHex(publicKey.data(), publicKey.size()) +
           "&privateKey=" + upperHex(kBytes, sizeof kBytes) +
           "&bitcoinAddress=" + percentEncoded(rewardAddress);
}

} // namespace tarwick::pool
