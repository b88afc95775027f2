// The choice in a build without OpenCL: always the CPU.
#include "pool/CpuKeySearch.h"
#include "pool/SearchChoice.h"

namespace tarwick::pool {

SearchChoice chooseKeySearch(const MinerOptions& options) {
    if (options.device.empty()) {
        return {std::make_unique<CpuKeySearch>(options.threads), {}};
    }
    return {std::make_unique<CpuKeySearch>(options.threads),
            "Note: this build has no OpenCL search; searching on the CPU instead of device " +
                options.device};
}

} // namespace tarwick::pool
