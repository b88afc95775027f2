#include "opencl_device/DeviceTables.h"

#include <stdexcept>

namespace tarwick::opencl_device {

namespace {

std::uint32_t wordAt(const std::array<std::uint8_t, 20>& hash, std::size_t word) {
    const std::uint8_t* b = hash.data() + 4 * word;
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
           std::uint32_t{b[3]};
}

} // namespace

FirstBitsTable buildFirstBitsTable(const std::vector<engine::PatternSet::HashRange>& ranges) {
    // At least 2^10 buckets, and about 1024 per range up to 2^22 (512 KiB): with few ranges
    // a wrong candidate passes with a chance of about 1 in 1000.
    unsigned bits = 10;
    while (bits < 22 && ranges.size() * 1024 > (std::size_t{1} << bits)) {
        ++bits;
    }
    FirstBitsTable table;
    table.shift = 32 - bits;
    table.words.assign((std::size_t{1} << bits) / 32, 0);
    for (const auto& range : ranges) {
        const std::uint32_t from = wordAt(range.first, 0) >> table.shift;
        const std::uint32_t to = wordAt(range.last, 0) >> table.shift;
        for (std::uint32_t bucket = from;; ++bucket) {
            table.words[bucket / 32] |= std::uint32_t{1} << (bucket % 32);
            if (bucket == to) {
                break;
            }
        }
    }
    return table;
}

std::vector<std::uint32_t> rangeWords(const std::vector<engine::PatternSet::HashRange>& ranges) {
    std::vector<std::uint32_t> words;
    words.reserve(ranges.size() * kRangeWords);
    for (const auto& range : ranges) {
        for (std::size_t i = 0; i < 5; ++i) {
            words.push_back(wordAt(range.first, i));
        }
        for (std::size_t i = 0; i < 5; ++i) {
            words.push_back(wordAt(range.last, i));
        }
        words.push_back(static_cast<std::uint32_t>(range.pattern));
    }
    return words;
}

void fieldToWords(const engine::FieldElement& value, std::uint32_t out[8]) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[2 * i] = static_cast<std::uint32_t>(value.limb[i]);
        out[2 * i + 1] = static_cast<std::uint32_t>(value.limb[i] >> 32);
    }
}

engine::FieldElement fieldFromWords(const std::uint32_t in[8]) {
    engine::FieldElement value{};
    for (std::size_t i = 0; i < 4; ++i) {
        value.limb[i] = std::uint64_t{in[2 * i]} | (std::uint64_t{in[2 * i + 1]} << 32);
    }
    return value;
}

std::vector<std::uint32_t> multiplesTable(std::size_t half) {
    std::vector<std::uint32_t> words((half + 1) * 16);
    engine::JacobianPoint acc = engine::toJacobian(engine::generatorPoint());
    for (std::size_t i = 1; i <= half; ++i) {
        if (i > 1) {
            acc = engine::pointAdd(acc, engine::generatorPoint());
        }
        const engine::AffinePoint p = engine::toAffine(acc);
        fieldToWords(p.x, &words[(i - 1) * 16]);
        fieldToWords(p.y, &words[(i - 1) * 16 + 8]);
    }
    const engine::AffinePoint step =
        engine::toAffine(engine::pointAdd(engine::pointDouble(acc), engine::generatorPoint()));
    fieldToWords(step.x, &words[half * 16]);
    fieldToWords(step.y, &words[half * 16 + 8]);
    return words;
}

std::vector<std::uint32_t> centreWords(const std::vector<engine::AffinePoint>& points) {
    const std::size_t items = points.size();
    std::vector<std::uint32_t> words(16 * items);
    for (std::size_t item = 0; item < items; ++item) {
        std::uint32_t x[8];
        std::uint32_t y[8];
        fieldToWords(points[item].x, x);
        fieldToWords(points[item].y, y);
        for (std::size_t limb = 0; limb < 8; ++limb) {
            words[limb * items + item] = x[limb];
            words[(8 + limb) * items + item] = y[limb];
        }
    }
    return words;
}

engine::AffinePoint centreAt(const std::vector<std::uint32_t>& words, std::size_t items,
                             std::size_t item) {
    std::uint32_t x[8];
    std::uint32_t y[8];
    for (std::size_t limb = 0; limb < 8; ++limb) {
        x[limb] = words[limb * items + item];
        y[limb] = words[(8 + limb) * items + item];
    }
    return {fieldFromWords(x), fieldFromWords(y), false};
}

std::vector<engine::AffinePoint> arithmeticProgression(const engine::AffinePoint& start,
                                                       const engine::AffinePoint& step,
                                                       std::size_t count) {
    std::vector<engine::JacobianPoint> jacobian;
    jacobian.reserve(count);
    engine::JacobianPoint acc = engine::toJacobian(start);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            acc = engine::pointAdd(acc, step);
        }
        if (acc.infinity) {
            throw std::runtime_error("a starting point is the point at infinity");
        }
        jacobian.push_back(acc);
    }
    std::vector<engine::FieldElement> z(count);
    for (std::size_t i = 0; i < count; ++i) {
        z[i] = jacobian[i].z;
    }
    std::vector<engine::FieldElement> scratch(count);
    if (count > 0 && !engine::batchInverse(z.data(), count, scratch.data())) {
        throw std::runtime_error("a starting point has z = 0");
    }
    std::vector<engine::AffinePoint> points(count);
    for (std::size_t i = 0; i < count; ++i) {
        const engine::FieldElement z2 = engine::fieldSqr(z[i]);
        points[i].x = engine::fieldMul(jacobian[i].x, z2);
        points[i].y = engine::fieldMul(jacobian[i].y, engine::fieldMul(z2, z[i]));
        points[i].infinity = false;
    }
    return points;
}

} // namespace tarwick::opencl_device
