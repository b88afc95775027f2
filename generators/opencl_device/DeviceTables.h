#pragma once

#include "engine/ec/Point.h"
#include "engine/match/PatternSet.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarwick::opencl_device {

// The data the search kernel reads, laid out as it expects (32-bit words, field elements
// as eight little-endian limbs). Nothing here needs an OpenCL device, so tests check it
// on its own.

// Words per range and per hit record (the kernels' HIT_RANGE_WORDS and HIT_RECORD_WORDS).
inline constexpr std::size_t kRangeWords = 11;
inline constexpr std::size_t kHitWords = 9;

// The first-bits table: bit b is set when some range holds a hash160 whose first 32 bits,
// shifted right by `shift`, equal b. Sized so that ranges rarely share a bucket.
struct FirstBitsTable {
    std::vector<std::uint32_t> words;
    unsigned shift = 0;
};
FirstBitsTable buildFirstBitsTable(const std::vector<engine::PatternSet::HashRange>& ranges);

// The ranges, sorted as given: first (5 words), last (5 words), pattern index; each hash160
// as big-endian words, so that comparing words in order compares the values.
std::vector<std::uint32_t> rangeWords(const std::vector<engine::PatternSet::HashRange>& ranges);

// Eight limbs of a field element, least significant first, and back.
void fieldToWords(const engine::FieldElement& value, std::uint32_t out[8]);
engine::FieldElement fieldFromWords(const std::uint32_t in[8]);

// i*G for i = 1 ... half, then (2*half + 1)*G: 16 words each (x, then y).
std::vector<std::uint32_t> multiplesTable(std::size_t half);

// Points in the kernel's centre layout: word [limb][item], x limbs 0-7 then y limbs 8-15.
std::vector<std::uint32_t> centreWords(const std::vector<engine::AffinePoint>& points);
engine::AffinePoint centreAt(const std::vector<std::uint32_t>& words, std::size_t items,
                             std::size_t item);

// The affine points start + i*step for i < count, for the work items' starting centres:
// one addition each in Jacobian coordinates and one shared inversion, so that even a
// launch of a million work items starts in a moment.
std::vector<engine::AffinePoint> arithmeticProgression(const engine::AffinePoint& start,
                                                       const engine::AffinePoint& step,
                                                       std::size_t count);

// k*G for each key, for work items that start from independent random keys: 32 additions
// each from a table of the multiples of G for every byte of a key, and one shared inversion,
// so that a hundred thousand work items start in about a second.
std::vector<engine::AffinePoint> pointsOfKeys(const std::vector<engine::Scalar>& keys);

} // namespace tarwick::opencl_device
