#include "opencl_device/DeviceList.h"

#include "program/OptionValues.h"

namespace tarwick::opencl_device {

namespace {

// Some drivers end their names with NULs or blanks.
std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) {
        text.pop_back();
    }
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::vector<cl::Platform> platforms() {
    std::vector<cl::Platform> result;
    try {
        cl::Platform::get(&result);
    } catch (const cl::Error&) {
        // CL_PLATFORM_NOT_FOUND_KHR: the loader found no driver.
        result.clear();
    }
    return result;
}

std::vector<cl::Device> devicesOf(const cl::Platform& platform) {
    std::vector<cl::Device> result;
    try {
        platform.getDevices(CL_DEVICE_TYPE_ALL, &result);
    } catch (const cl::Error&) {
        // CL_DEVICE_NOT_FOUND: a platform without devices.
        result.clear();
    }
    return result;
}

} // namespace

bool parseDeviceAddress(const std::string& text, DeviceAddress& out) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    const auto platform = program::decimalValue(std::string_view(text).substr(0, colon), 9999);
    const auto device = program::decimalValue(std::string_view(text).substr(colon + 1), 9999);
    if (!platform || !device) {
        return false;
    }
    out = {*platform, *device};
    return true;
}

std::vector<PlatformEntry> listPlatforms() {
    std::vector<PlatformEntry> result;
    for (const cl::Platform& platform : platforms()) {
        PlatformEntry entry;
        entry.platform.vendor = trimmed(platform.getInfo<CL_PLATFORM_VENDOR>());
        entry.platform.name = trimmed(platform.getInfo<CL_PLATFORM_NAME>());
        for (const cl::Device& device : devicesOf(platform)) {
            entry.devices.push_back({trimmed(device.getInfo<CL_DEVICE_VENDOR>()),
                                     trimmed(device.getInfo<CL_DEVICE_NAME>())});
        }
        result.push_back(std::move(entry));
    }
    return result;
}

std::string formatPlatformListing(const std::vector<PlatformEntry>& platforms) {
    if (platforms.empty()) {
        return {};
    }
    std::string text = "Available OpenCL platforms:\n";
    for (std::size_t p = 0; p < platforms.size(); ++p) {
        const NamedEntry& platform = platforms[p].platform;
        text += std::to_string(p) + ": [" + platform.vendor + "] " + platform.name + "\n";
        const std::vector<NamedEntry>& devices = platforms[p].devices;
        for (std::size_t d = 0; d < devices.size(); ++d) {
            text += "  " + std::to_string(d) + ": [" + devices[d].vendor + "] " + devices[d].name +
                    "\n";
        }
    }
    return text;
}

std::optional<cl::Device> findDevice(const DeviceAddress& address) {
    const std::vector<cl::Platform> all = platforms();
    if (address.platform >= all.size()) {
        return std::nullopt;
    }
    const std::vector<cl::Device> devices = devicesOf(all[address.platform]);
    if (address.device >= devices.size()) {
        return std::nullopt;
    }
    return devices[address.device];
}

} // namespace tarwick::opencl_device
