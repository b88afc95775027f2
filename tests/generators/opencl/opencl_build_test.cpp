// Building kernels: a source that does not compile gives the build log under a line that
// contains "error " (what the front-end shows), and a second build of the same source
// comes from the binary cache.

#include "opencl_device/KernelProgram.h"
#include "opencl_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(OpenClBuild, BrokenSourceReportsTheBuildLog) {
    std::string reason;
    const std::optional<cl::Device> device = tarwick::test::openclDeviceOrSkip(reason);
    if (!device) {
        GTEST_SKIP() << reason;
    }
    const cl::Context context(*device);
    try {
        tarwick::opencl_device::buildProgram(context, *device,
                                             "__kernel void broken(__global uint* out) { out[0] = "
                                             "undeclared_name; }",
                                             "", std::nullopt);
        FAIL() << "the broken source built";
    } catch (const tarwick::opencl_device::KernelBuildError& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("error "), std::string::npos) << text;
        EXPECT_NE(text.find("undeclared_name"), std::string::npos) << text;
    }
}

TEST(OpenClBuild, SecondBuildComesFromTheCache) {
    std::string reason;
    const std::optional<cl::Device> device = tarwick::test::openclDeviceOrSkip(reason);
    if (!device) {
        GTEST_SKIP() << reason;
    }
    const fs::path cache =
        fs::temp_directory_path() / ("tarwick_ocl_cache_" + std::to_string(::getpid()));
    fs::remove_all(cache);
    const cl::Context context(*device);
    const std::string source =
        "__kernel void twice(__global uint* v) { v[get_global_id(0)] *= 2u; }";
    tarwick::opencl_device::buildProgram(context, *device, source, "", cache);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(cache)) {
        EXPECT_EQ(entry.path().extension(), ".bin");
        ++files;
    }
    EXPECT_EQ(files, 1u);
    // The cached binary must build and run like the source.
    const cl::Program program =
        tarwick::opencl_device::buildProgram(context, *device, source, "", cache);
    cl::Kernel kernel(program, "twice");
    std::vector<cl_uint> values = {1, 2, 3, 4};
    cl::Buffer buffer(context, CL_MEM_READ_WRITE | CL_MEM_COPY_HOST_PTR,
                      values.size() * sizeof(cl_uint), values.data());
    kernel.setArg(0, buffer);
    cl::CommandQueue queue(context, *device);
    queue.enqueueNDRangeKernel(kernel, cl::NullRange, cl::NDRange(values.size()));
    queue.enqueueReadBuffer(buffer, CL_TRUE, 0, values.size() * sizeof(cl_uint), values.data());
    EXPECT_EQ(values, (std::vector<cl_uint>{2, 4, 6, 8}));
    fs::remove_all(cache);
}

} // namespace
