// The choice in a build with OpenCL: the device -D names, else the CPU.
#include "opencl_device/DeviceList.h"
#include "opencl_device/KernelProgram.h"
#include "pool/CpuKeySearch.h"
#include "pool/OclKeySearch.h"
#include "pool/SearchChoice.h"

#include <exception>

namespace tarwick::pool {

SearchChoice chooseKeySearch(const MinerOptions& options) {
    if (options.device.empty()) {
        return {std::make_unique<CpuKeySearch>(options.threads), {}};
    }
    const auto cpu = [&](const std::string& why) {
        return SearchChoice{std::make_unique<CpuKeySearch>(options.threads),
                            "Note: " + why + "; searching on the CPU instead"};
    };
    opencl_device::DeviceAddress address;
    if (!opencl_device::parseDeviceAddress(options.device, address)) {
        return cpu("'" + options.device + "' names no OpenCL device (P:D expected)");
    }
    try {
        const std::optional<cl::Device> device = opencl_device::findDevice(address);
        if (!device) {
            return cpu("no OpenCL device " + options.device);
        }
        const std::string name = device->getInfo<CL_DEVICE_NAME>();
        return {std::make_unique<OclKeySearch>(*device, options.device + " (" + name + ")"), {}};
    } catch (const opencl_device::KernelBuildError&) {
        return cpu("the kernels do not build for OpenCL device " + options.device);
    } catch (const cl::Error& e) {
        return cpu("OpenCL device " + options.device + " failed (" + e.what() + " " +
                   std::to_string(e.err()) + ")");
    } catch (const std::exception& e) {
        return cpu("OpenCL device " + options.device + " cannot be used (" + e.what() + ")");
    }
}

} // namespace tarwick::pool
