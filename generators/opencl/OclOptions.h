#pragma once

#include "opencl_device/DeviceList.h"
#include "program/SearchOptions.h"

#include <string>
#include <vector>

namespace tarwick::opencl {

// What the command line of oclvanitygen.exe asks for: the CPU generator's options, with
// -D P:D choosing the OpenCL device instead of a thread count.
// -v names the device and the launch shape on standard error.
struct OclOptions : program::SearchOptions {
    opencl_device::DeviceAddress device; // 0:0 unless -D says otherwise
};

// The CPU generator's options with -D P:D as the placement option.
bool parseOclOptions(const std::vector<std::string>& args, OclOptions& options, std::string& error);

// The text -h prints.
const char* oclUsage();

} // namespace tarwick::opencl
