#include "core/keys/Base58.h"

#include <algorithm>
#include <array>

namespace tarwick {
namespace {

constexpr std::string_view kAlphabet = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";

} // namespace

std::optional<std::vector<std::uint8_t>> decodeBase58(std::string_view text, std::size_t maxChars) {
    if (text.size() > maxChars) {
        return std::nullopt;
    }
    std::size_t zeros = 0;
    while (zeros < text.size() && text[zeros] == '1') {
        ++zeros;
    }
    // Big-endian base-256 number, multiplied by 58 and added to digit by digit.
    std::vector<std::uint8_t> number;
    for (std::size_t i = zeros; i < text.size(); ++i) {
        const std::size_t digit = kAlphabet.find(text[i]);
        if (digit == std::string_view::npos) {
            return std::nullopt;
        }
        unsigned carry = static_cast<unsigned>(digit);
        for (auto byte = number.rbegin(); byte != number.rend(); ++byte) {
            carry += 58u * *byte;
            *byte = static_cast<std::uint8_t>(carry & 0xFF);
            carry >>= 8;
        }
        for (; carry > 0; carry >>= 8) {
            number.insert(number.begin(), static_cast<std::uint8_t>(carry & 0xFF));
        }
    }
    number.insert(number.begin(), zeros, 0);
    return number;
}

std::string encodeBase58(const std::vector<std::uint8_t>& bytes) {
    std::size_t zeros = 0;
    while (zeros < bytes.size() && bytes[zeros] == 0) {
        ++zeros;
    }
    // Little-endian base-58 digits of the number after the leading zero bytes.
    std::vector<std::uint8_t> digits;
    for (std::size_t i = zeros; i < bytes.size(); ++i) {
        unsigned carry = bytes[i];
        for (std::uint8_t& digit : digits) {
            carry += 256u * digit;
            digit = static_cast<std::uint8_t>(carry % 58);
            carry /= 58;
        }
        for (; carry > 0; carry /= 58) {
            digits.push_back(static_cast<std::uint8_t>(carry % 58));
        }
    }
    std::string text(zeros, '1');
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        text += kAlphabet[*digit];
    }
    return text;
}

} // namespace tarwick
