#pragma once

#include "pool/KeySearch.h"
#include "pool/MinerOptions.h"

#include <memory>
#include <string>

namespace tarwick::pool {

// Where the search runs: the OpenCL device that -D names when this build has OpenCL and the
// device can be used, otherwise the CPU, with a note saying why.
struct SearchChoice {
    std::unique_ptr<KeySearch> search;
    std::string note; // empty when the named device is used
};

SearchChoice chooseKeySearch(const MinerOptions& options);

} // namespace tarwick::pool
