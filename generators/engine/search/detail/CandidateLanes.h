#pragma once

// CandidateHasher's lane path (CandidateHasherIfma.cpp), for CPUs with AVX-512 IFMA.

#include "engine/ec/Point.h"

#include <cstddef>
#include <cstdint>

namespace tarwick::engine::candidate_lanes {

inline constexpr std::size_t kPoints = 8;

// The 48 candidate hashes of kPoints consecutive points, in CandidateHasher's order.
void hashPoints(const AffinePoint* points, bool compressed, std::uint8_t* out);

} // namespace tarwick::engine::candidate_lanes
