#pragma once

#include "opencl_device/ClApi.h"

#include <optional>
#include <string>
#include <vector>

namespace tarwick::opencl_device {

// "P:D": the platform and device numbers that -D names.
struct DeviceAddress {
    unsigned platform = 0;
    unsigned device = 0;
};

// Parses "P:D" (decimal numbers); false for anything else.
bool parseDeviceAddress(const std::string& text, DeviceAddress& out);

// What the listing shows of one device or platform.
struct NamedEntry {
    std::string vendor;
    std::string name;
};
struct PlatformEntry {
    NamedEntry platform;
    std::vector<NamedEntry> devices;
};

// The machine's OpenCL platforms and their devices, in the order the loader reports them;
// empty when there is none (or no loader configuration at all).
std::vector<PlatformEntry> listPlatforms();

// "Available OpenCL platforms:", then "P: [vendor] name" per platform and
// "  D: [vendor] name" per device; empty text when there is no platform.
std::string formatPlatformListing(const std::vector<PlatformEntry>& platforms);

// The device that `address` names, if it exists.
std::optional<cl::Device> findDevice(const DeviceAddress& address);

} // namespace tarwick::opencl_device
