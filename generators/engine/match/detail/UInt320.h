#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>

namespace tarwick::engine::match_detail {

// A 320-bit unsigned integer, just enough arithmetic to turn a prefix into ranges of 25-byte
// address values (numbers below 2^200, times at most a few powers of 58). Runs once per
// pattern, never per key, so clarity wins over speed.
class UInt320 {
public:
    constexpr UInt320() = default;
    constexpr explicit UInt320(std::uint64_t value) : limb_{value, 0, 0, 0, 0} {}

    static UInt320 powerOfTwo(unsigned bit) {
        UInt320 r;
        r.limb_[bit / 64] = std::uint64_t{1} << (bit % 64);
        return r;
    }

    // Big-endian bytes, most significant first.
    static UInt320 fromBytes(const std::uint8_t* bytes, std::size_t length) {
        UInt320 r;
        for (std::size_t i = 0; i < length; ++i) {
            r.limb_[(length - 1 - i) / 8] |= std::uint64_t{bytes[i]}
                                             << (8 * ((length - 1 - i) % 8));
        }
        return r;
    }
    void toBytes(std::uint8_t* bytes, std::size_t length) const {
        for (std::size_t i = 0; i < length; ++i) {
            bytes[i] = static_cast<std::uint8_t>(limb_[(length - 1 - i) / 8] >>
                                                 (8 * ((length - 1 - i) % 8)));
        }
    }

    UInt320& mulSmall(std::uint32_t factor) {
        unsigned __int128 carry = 0;
        for (auto& limb : limb_) {
            carry += static_cast<unsigned __int128>(limb) * factor;
            limb = static_cast<std::uint64_t>(carry);
            carry >>= 64;
        }
        return *this;
    }
    UInt320& addSmall(std::uint32_t value) { return *this += UInt320(value); }

    UInt320& operator+=(const UInt320& other) {
        unsigned __int128 carry = 0;
        for (std::size_t i = 0; i < kLimbs; ++i) {
            carry += static_cast<unsigned __int128>(limb_[i]) + other.limb_[i];
            limb_[i] = static_cast<std::uint64_t>(carry);
            carry >>= 64;
        }
        return *this;
    }
    // Requires *this >= other.
    UInt320& operator-=(const UInt320& other) {
        std::uint64_t borrow = 0;
        for (std::size_t i = 0; i < kLimbs; ++i) {
            const std::uint64_t a = limb_[i];
            const std::uint64_t b = other.limb_[i];
            limb_[i] = a - b - borrow;
            borrow = (a < b || (a == b && borrow)) ? 1 : 0;
        }
        return *this;
    }
    friend UInt320 operator+(UInt320 a, const UInt320& b) { return a += b; }
    friend UInt320 operator-(UInt320 a, const UInt320& b) { return a -= b; }

    friend std::strong_ordering operator<=>(const UInt320& a, const UInt320& b) {
        for (std::size_t i = kLimbs; i-- > 0;) {
            if (a.limb_[i] != b.limb_[i]) {
                return a.limb_[i] <=> b.limb_[i];
            }
        }
        return std::strong_ordering::equal;
    }
    friend bool operator==(const UInt320& a, const UInt320& b) = default;

    double toDouble() const {
        double r = 0;
        for (std::size_t i = kLimbs; i-- > 0;) {
            r = r * 18446744073709551616.0 + static_cast<double>(limb_[i]);
        }
        return r;
    }

private:
    static constexpr std::size_t kLimbs = 5;
    std::uint64_t limb_[kLimbs] = {};
};

} // namespace tarwick::engine::match_detail
