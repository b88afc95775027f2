#include "opencl_device/KernelProgram.h"

#include "engine/hash/Sha256.h"
#include "opencl_device/CacheFile.h"
#include "opencl_device/KernelText.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace tarwick::opencl_device {

namespace {

namespace fs = std::filesystem;

// A file name that changes whenever anything that shapes the binary changes.
std::string hexText(const std::uint8_t* bytes, std::size_t length) {
    static const char* hex = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text += hex[bytes[i] >> 4];
        text += hex[bytes[i] & 15];
    }
    return text;
}

std::string cacheKey(const cl::Device& device, const std::string& source,
                     const std::string& options) {
    const cl::Platform platform(device.getInfo<CL_DEVICE_PLATFORM>());
    std::string identity;
    for (const std::string& part :
         {platform.getInfo<CL_PLATFORM_NAME>(), platform.getInfo<CL_PLATFORM_VERSION>(),
          device.getInfo<CL_DEVICE_VENDOR>(), device.getInfo<CL_DEVICE_NAME>(),
          device.getInfo<CL_DEVICE_VERSION>(), device.getInfo<CL_DRIVER_VERSION>(), options,
          source}) {
        identity += part;
        identity += '\n';
    }
    std::uint8_t digest[32];
    engine::sha256(reinterpret_cast<const std::uint8_t*>(identity.data()), identity.size(), digest);
    return hexText(digest, sizeof digest) + ".bin";
}

std::optional<cl::Program> loadCached(const cl::Context& context, const cl::Device& device,
                                      const std::string& options, const fs::path& file) {
    // Loaded code runs in the driver: only a file the user alone could have written counts.
    std::optional<std::vector<unsigned char>> binary = readPrivateFile(file);
    if (!binary || binary->empty()) {
        return std::nullopt;
    }
    try {
        cl::Program program(context, {device}, cl::Program::Binaries{*binary});
        program.build({device}, options.c_str());
        return program;
    } catch (const cl::Error&) {
        return std::nullopt; // stale or foreign: build from source instead
    }
}

void storeCached(const cl::Program& program, const fs::path& file) {
    try {
        const std::vector<std::vector<unsigned char>> binaries =
            program.getInfo<CL_PROGRAM_BINARIES>();
        if (binaries.size() == 1 && !binaries[0].empty()) {
            writePrivateFile(file, binaries[0]);
        }
    } catch (const std::exception&) {
        // No binary to be had, or no place for it: the next start compiles again.
    }
}

} // namespace

std::string kernelSource() {
    std::string source;
    for (const char* part : kernel_text::kParts) {
        source += part;
    }
    return source;
}

std::optional<fs::path> defaultBinaryCache() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg != nullptr && *xdg == '/') {
        return fs::path(xdg) / "tarwick" / "opencl";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/') {
        return fs::path(home) / ".cache" / "tarwick" / "opencl";
    }
    return std::nullopt;
}

cl::Program buildProgram(const cl::Context& context, const cl::Device& device,
                         const std::string& source, const std::string& options,
                         const std::optional<fs::path>& cacheFolder) {
    std::optional<fs::path> file;
    // A folder others can write to is no cache at all: anything in it may be planted.
    if (cacheFolder && preparePrivateFolder(*cacheFolder)) {
        file = *cacheFolder / cacheKey(device, source, options);
        if (std::optional<cl::Program> cached = loadCached(context, device, options, *file)) {
            return *cached;
        }
    }
    cl::Program program(context, source);
    try {
        program.build({device}, options.c_str());
    } catch (const cl::Error& e) {
        std::string log;
        try {
            log = program.getBuildInfo<CL_PROGRAM_BUILD_LOG>(device);
        } catch (const cl::Error&) {
            log = "(no build log)";
        }
        throw KernelBuildError("OpenCL build error - the kernels did not build (" +
                               std::to_string(e.err()) + "):\n" + log);
    }
    if (file) {
        storeCached(program, *file);
    }
    return program;
}

} // namespace tarwick::opencl_device
