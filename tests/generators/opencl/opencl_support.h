#pragma once

// What the OpenCL tests share: the device they run on, and when they cannot run.

#include "opencl_device/DeviceList.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tarwick::test {

// Skips the calling test (with the reason) where OpenCL cannot be tested: in sanitizer
// builds, whose instrumented process hosts PoCL's compiler and kernels badly, and on a
// machine without any OpenCL platform. True when the test should go on.
inline std::optional<cl::Device> openclDeviceOrSkip(std::string& reason) {
#ifdef TARWICK_TESTS_SANITIZED
    reason = "OpenCL is not tested under AddressSanitizer: PoCL's kernel compiler and "
             "kernels run inside the instrumented process; the RelWithDebInfo build runs "
             "these tests";
    return std::nullopt;
#else
    if (opencl_device::listPlatforms().empty()) {
        reason = "no OpenCL platform on this machine (install pocl-opencl-icd)";
        return std::nullopt;
    }
    std::optional<cl::Device> device = opencl_device::findDevice({0, 0});
    if (!device) {
        reason = "OpenCL platform 0 has no device";
    }
    return device;
#endif
}

} // namespace tarwick::test
