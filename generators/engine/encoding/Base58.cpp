#include "engine/encoding/Base58.h"

#include "engine/hash/Sha256.h"

#include <algorithm>
#include <array>

namespace tarwick::engine {

namespace {

constexpr std::array<std::int8_t, 128> makeDigitTable() {
    std::array<std::int8_t, 128> table{};
    for (auto& entry : table) {
        entry = -1;
    }
    for (int i = 0; i < 58; ++i) {
        table[static_cast<unsigned char>(kBase58Alphabet[i])] = static_cast<std::int8_t>(i);
    }
    return table;
}

constexpr std::array<std::int8_t, 128> kDigitTable = makeDigitTable();

} // namespace

int base58DigitValue(char c) {
    const auto index = static_cast<unsigned char>(c);
    return index < kDigitTable.size() ? kDigitTable[index] : -1;
}

std::string base58Encode(std::span<const std::uint8_t> data) {
    std::size_t zeros = 0;
    while (zeros < data.size() && data[zeros] == 0) {
        ++zeros;
    }

    // Schoolbook conversion: the Base58 digits, least significant first, multiplied by 256
    // and added to for each input byte. Texts here are a few dozen characters long.
    std::vector<std::uint8_t> digits;
    digits.reserve((data.size() - zeros) * 138 / 100 + 1);
    for (std::size_t i = zeros; i < data.size(); ++i) {
        unsigned carry = data[i];
        for (auto& digit : digits) {
            carry += static_cast<unsigned>(digit) << 8;
            digit = static_cast<std::uint8_t>(carry % 58);
            carry /= 58;
        }
        while (carry > 0) {
            digits.push_back(static_cast<std::uint8_t>(carry % 58));
            carry /= 58;
        }
    }

    std::string text(zeros, '1');
    text.reserve(zeros + digits.size());
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        text += kBase58Alphabet[*it];
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> base58Decode(std::string_view text) {
    std::size_t ones = 0;
    while (ones < text.size() && text[ones] == '1') {
        ++ones;
    }

    // The bytes, least significant first, multiplied by 58 and added to for each digit.
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = ones; i < text.size(); ++i) {
        const int value = base58DigitValue(text[i]);
        if (value < 0) {
            return std::nullopt;
        }
        unsigned carry = static_cast<unsigned>(value);
        for (auto& byte : bytes) {
            carry += static_cast<unsigned>(byte) * 58;
            byte = static_cast<std::uint8_t>(carry);
            carry >>= 8;
        }
        while (carry > 0) {
            bytes.push_back(static_cast<std::uint8_t>(carry));
            carry >>= 8;
        }
    }

    std::vector<std::uint8_t> result(ones, 0);
    result.insert(result.end(), bytes.rbegin(), bytes.rend());
    return result;
}

std::string base58CheckEncode(std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> data(payload.begin(), payload.end());
    std::uint8_t checksum[32];
    sha256d(payload.data(), payload.size(), checksum);
    data.insert(data.end(), checksum, checksum + 4);
    return base58Encode(data);
}

std::optional<std::vector<std::uint8_t>> base58CheckDecode(std::string_view text) {
    auto data = base58Decode(text);
    if (!data || data->size() < 4) {
        return std::nullopt;
    }
    const std::size_t payloadSize = data->size() - 4;
    std::uint8_t checksum[32];
    sha256d(data->data(), payloadSize, checksum);
    if (!std::equal(checksum, checksum + 4,
                    data->begin() + static_cast<std::ptrdiff_t>(payloadSize))) {
        return std::nullopt;
    }
    data->resize(payloadSize);
    return data;
}

} // namespace tarwick::engine
