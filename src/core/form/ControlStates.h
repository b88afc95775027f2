#pragma once

#include <string_view>

namespace tarwick {

// Which choice controls are usable for the selected generator and pattern source.
struct ControlStates {
    bool openClPlatform = false;
    bool cpuThreads = false;
    bool rewardAddress = false;
    bool patternsBox = false;
    bool selectFile = false;
    bool patternsFilePath = false;
    bool editPatternsFile = false;

    friend bool operator==(const ControlStates&, const ControlStates&) = default;
};

// Only the CPU generator takes a thread count; every other text, known or not, is treated as an
// OpenCL program. The pattern-source controls follow the box flag alone.
ControlStates controlStatesFor(std::string_view externalApp, bool patternsFromBox);

} // namespace tarwick
