#pragma once

#include "opencl_device/DeviceList.h"

#include <optional>
#include <string>

namespace tarwick::test {

// Device 0:0 to test on, or nothing and why not. PoCL's kernel compiler and kernels run badly
// inside an AddressSanitizer process: the RelWithDebInfo build runs the OpenCL tests.
inline std::optional<cl::Device> openclDeviceOrSkip(std::string& reason) {
#ifdef TARWICK_TESTS_SANITIZED
    reason = "OpenCL is not tested under AddressSanitizer";
    return std::nullopt;
#else
    reason = "no OpenCL device 0:0 on this machine (install pocl-opencl-icd)";
    return opencl_device::findDevice({0, 0});
#endif
}

} // namespace tarwick::test
