#pragma once

// The batch of PointWalker on the eight-lane IFMA field code (PointWalkerIfma.cpp): the
// multiples i*G are kept in lane layout, and Montgomery's trick runs as eight interleaved
// chains whose eight totals share one scalar inversion.

#include "engine/ec/Point.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarwick::engine::walker_lanes {

inline constexpr std::size_t kLanes = 8;
// 64-bit words of one element in lane layout, and of the x, y and -y of eight multiples.
inline constexpr std::size_t kElementWords = 5 * kLanes;
inline constexpr std::size_t kGroupWords = 3 * kElementWords;

// multiples.size() must be a multiple of kLanes.
std::vector<std::uint64_t> makeTables(const std::vector<AffinePoint>& multiples);

// Writes centre - i*G (0 < i < half) and centre + i*G (0 < i <= half) around centreOut,
// as PointWalker's batch does, with half = groups * kLanes; `scratch` holds
// 2 * groups * kElementWords words. Sets stepInverse to 1 / (x(step) - x(centre)).
// False, with nothing written, when some x(i*G) or x(step) equals x(centre).
bool batch(const std::uint64_t* tables, std::size_t groups, std::uint64_t* scratch,
           const AffinePoint& centre, const AffinePoint& step, AffinePoint* centreOut,
           FieldElement& stepInverse);

} // namespace tarwick::engine::walker_lanes
