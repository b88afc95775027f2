#pragma once

#include "opencl_device/ClApi.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace tarwick::opencl_device {

// The kernel sources built into the program, concatenated.
std::string kernelSource();

// Thrown when the kernels do not build for a device; what() holds the build log.
class KernelBuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where built device binaries are kept between runs: $XDG_CACHE_HOME/tarwick/opencl,
// else $HOME/.cache/tarwick/opencl; none when neither is set.
std::optional<std::filesystem::path> defaultBinaryCache();

// Builds `source` for `device` with `options`. With a cache folder, a binary built earlier
// for the same source, options, device and driver version is loaded instead of compiling
// again (compiling takes PoCL many seconds), and a fresh build is stored there. The cache
// is only ever a shortcut: any trouble with it falls back to building from source. The
// folder is made user-only, and neither a folder nor an entry that someone else could have
// written is used.
cl::Program buildProgram(const cl::Context& context, const cl::Device& device,
                         const std::string& source, const std::string& options,
                         const std::optional<std::filesystem::path>& cacheFolder);

} // namespace tarwick::opencl_device
