#include "core/form/ControlStates.h"

#include "core/search/GeneratorNames.h"

namespace tarwick {

ControlStates controlStatesFor(std::string_view externalApp, bool patternsFromBox) {
    ControlStates states;
    const bool cpu = externalApp == kCpuGenerator;
    states.openClPlatform = !cpu;
    states.cpuThreads = cpu;
    states.rewardAddress = externalApp == kPoolMiner;
    states.patternsBox = patternsFromBox;
    states.selectFile = !patternsFromBox;
    states.patternsFilePath = !patternsFromBox;
    states.editPatternsFile = !patternsFromBox;
    return states;
}

} // namespace tarwick
