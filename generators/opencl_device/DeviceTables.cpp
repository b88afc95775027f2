#include "opencl_device/DeviceTables.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

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

namespace {

// The finite points, all with one field inversion.
std::vector<engine::AffinePoint> toAffineAll(const std::vector<engine::JacobianPoint>& jacobian) {
    const std::size_t count = jacobian.size();
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

// Entry 255 * w + b - 1 is b * 256^w * G, for the 32 bytes w of a key and b = 1 ... 255.
const std::vector<engine::AffinePoint>& byteMultiplesOfG() {
    static const std::vector<engine::AffinePoint> table = [] {
        std::vector<engine::JacobianPoint> jacobian;
        engine::JacobianPoint base = engine::toJacobian(engine::generatorPoint());
        for (int w = 0; w < 32; ++w) {
            const engine::AffinePoint baseAffine = engine::toAffine(base);
            engine::JacobianPoint acc = base;
            for (int b = 1; b <= 255; ++b) {
                jacobian.push_back(acc);
                acc = engine::pointAdd(acc, baseAffine);
            }
            base = acc; // 256 * base
        }
        return toAffineAll(jacobian);
    }();
    return table;
}

} // namespace

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
    return toAffineAll(jacobian);
}

std::vector<engine::AffinePoint> pointsOfKeys(const std::vector<engine::Scalar>& keys) {
    const std::vector<engine::AffinePoint>& table = byteMultiplesOfG();
    std::vector<engine::JacobianPoint> jacobian(keys.size());
    const auto sumFor = [&](std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            std::uint8_t bytes[32];
            keys[i].toBytes(bytes);
            engine::JacobianPoint acc{engine::FieldElement::fromUint64(0),
                                      engine::FieldElement::fromUint64(0),
                                      engine::FieldElement::fromUint64(0), true};
            for (std::size_t w = 0; w < 32; ++w) {
                const std::uint8_t b = bytes[31 - w];
                if (b != 0) {
                    acc = engine::pointAdd(acc, table[255 * w + b - 1]);
                }
            }
            jacobian[i] = acc;
        }
    };
    // A GPU has a hundred thousand work items or more: the sums are shared among the cores.
    const std::size_t threads =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, keys.size() / 1024 + 1);
    const std::size_t share = (keys.size() + threads - 1) / threads;
    {
        // jthreads: joined on leaving the scope, even when starting one of them throws.
        std::vector<std::jthread> helpers;
        for (std::size_t t = 1; t < threads; ++t) {
            helpers.emplace_back(sumFor, t * share, std::min(keys.size(), (t + 1) * share));
        }
        sumFor(0, std::min(keys.size(), share));
    }
    for (const engine::JacobianPoint& point : jacobian) {
        if (point.infinity) {
            throw std::runtime_error("a starting key is zero");
        }
    }
    return toAffineAll(jacobian);
}

} // namespace tarwick::opencl_device
