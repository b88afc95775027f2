#pragma once

#include <array>
#include <string_view>

namespace tarwick {

// The generators, known everywhere by their display text (compared exactly); their list index
// is what the settings store.
inline constexpr std::string_view cpuGeneratorName = "Vanitygen (CPU)";
inline constexpr std::string_view openClGeneratorName = "Vanitygen (OpenCL GPU)";
inline constexpr std::string_view poolMinerName = "Vanityminer pool (OpenCL GPU)";

inline constexpr std::array<std::string_view, 3> externalAppNames{
    cpuGeneratorName, openClGeneratorName, poolMinerName};

} // namespace tarwick
