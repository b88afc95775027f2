#include "pool/WorkList.h"

#include "engine/match/PatternSet.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <secp256k1.h>
#include <set>
#include <tuple>

namespace tarwick::pool {

namespace {

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
    return -1;
}

// The uncompressed form of a compressed (66 hex digits) or uncompressed (130) key, when it
// is a point of the curve. libsecp256k1 does the curve check and the decompression.
std::optional<std::array<std::uint8_t, 65>> parsePublicKey(std::string_view hex) {
    if (hex.size() != 66 && hex.size() != 130) {
        return std::nullopt;
    }
    std::uint8_t bytes[65];
    for (std::size_t i = 0; i < hex.size() / 2; ++i) {
        const int hi = hexDigit(hex[2 * i]);
        const int lo = hexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) {
            return std::nullopt;
        }
        bytes[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    // libsecp256k1 would also take the "hybrid" 06/07 forms; the pool never sends them.
    if (!(hex.size() == 66 ? (bytes[0] == 2 || bytes[0] == 3) : bytes[0] == 4)) {
        return std::nullopt;
    }
    secp256k1_pubkey key;
    if (secp256k1_ec_pubkey_parse(secp256k1_context_static, &key, bytes, hex.size() / 2) != 1) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 65> out{};
    std::size_t length = out.size();
    secp256k1_ec_pubkey_serialize(secp256k1_context_static, out.data(), &length, &key,
                                  SECP256K1_EC_UNCOMPRESSED);
    return out;
}

std::optional<std::uint8_t> parseVersion(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

// A plain decimal number of BTC; no sign, exponent, hex or "inf".
std::optional<double> parseReward(std::string_view text) {
    bool digits = false;
    bool point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string shown(std::string_view line) {
    constexpr std::size_t kMax = 80;
    std::string out;
    for (const char c : line.substr(0, kMax)) {
        const auto u = static_cast<unsigned char>(c);
        out.push_back(u >= 0x20 && u < 0x7F ? c : '?');
    }
    if (line.size() > kMax) {
        out += "...";
    }
    return out;
}

// Reads one line; nullopt with a reason in `why` when it is no usable item.
std::optional<WorkItem> parseLine(std::string_view line, std::string& why) {
    WorkItem item;
    const std::size_t semicolon = line.find(';');
    std::string_view fields = line.substr(0, semicolon);
    if (semicolon != std::string_view::npos) {
        item.comment = std::string(line.substr(semicolon + 1));
    }
    std::string_view parts[4];
    for (int i = 0; i < 4; ++i) {
        const std::size_t colon = fields.find(':');
        if ((colon == std::string_view::npos) != (i == 3)) {
            why = "not pattern:pubkey:addrtype:reward";
            return std::nullopt;
        }
        parts[i] = fields.substr(0, colon);
        fields = colon == std::string_view::npos ? std::string_view() : fields.substr(colon + 1);
    }
    if (parts[0].empty()) {
        why = "no pattern";
        return std::nullopt;
    }
    item.pattern = std::string(parts[0]);
    const auto key = parsePublicKey(parts[1]);
    if (!key) {
        why = "the public key is not a point of secp256k1";
        return std::nullopt;
    }
    item.publicKey = *key;
    const auto version = parseVersion(parts[2]);
    if (!version) {
        why = "the address type is not a number from 0 to 255";
        return std::nullopt;
    }
    item.addressVersion = *version;
    const auto reward = parseReward(parts[3]);
    if (!reward) {
        why = "the reward is not a number of BTC";
        return std::nullopt;
    }
    item.reward = *reward;
    std::vector<std::string> patternWarnings;
    const engine::PatternSet set =
        engine::PatternSet::build({item.pattern}, false, item.addressVersion, patternWarnings);
    if (set.empty()) {
        why = patternWarnings.empty() ? "unusable pattern" : patternWarnings.front();
        return std::nullopt;
    }
    item.difficulty = set.difficulty();
    return item;
}

} // namespace

std::vector<WorkItem> parseWorkList(std::string_view text, std::vector<std::string>& warnings) {
    std::vector<WorkItem> items;
    std::set<std::tuple<std::string, std::array<std::uint8_t, 65>, double>> seen;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            warnings.push_back("Work line without a line break skipped: " + shown(text));
            break;
        }
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        std::string why;
        auto item = parseLine(line, why);
        if (!item) {
            // The reason may quote the pool's pattern: its control bytes are masked as well.
            warnings.push_back("Work line skipped (" + shown(why) + "): " + shown(line));
            continue;
        }
        if (!seen.emplace(item->pattern, item->publicKey, item->reward).second) {
            continue;
        }
        items.push_back(std::move(*item));
    }
    return items;
}

std::string upperHex(const std::uint8_t* bytes, std::size_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(2 * length);
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 15]);
    }
    return out;
}

} // namespace tarwick::pool
