// Building kernels: a source that does not compile gives the build log under a line that
// contains "error " (what the front-end shows), a second build of the same source comes from
// the binary cache, and only cache entries the user alone could have written are used.

#include "opencl_device/KernelProgram.h"
#include "opencl_support.h"

#include <filesystem>
#include <functional>
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
        "__kernel void scale(__global uint* v) { v[get_global_id(0)] *= 2u; }";
    tarwick::opencl_device::buildProgram(context, *device, source, "", cache);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(cache)) {
        EXPECT_EQ(entry.path().extension(), ".bin");
        ++files;
    }
    EXPECT_EQ(files, 1u);
    // The cached binary must build and run like the source.
    const cl::CommandQueue queue(context, *device);
    const auto valuesAfter = [&](const cl::Program& program) {
        cl::Kernel kernel(program, "scale");
        std::vector<cl_uint> values = {1, 2, 3, 4};
        cl::Buffer buffer(context, CL_MEM_READ_WRITE | CL_MEM_COPY_HOST_PTR,
                          values.size() * sizeof(cl_uint), values.data());
        kernel.setArg(0, buffer);
        queue.enqueueNDRangeKernel(kernel, cl::NullRange, cl::NDRange(values.size()));
        queue.enqueueReadBuffer(buffer, CL_TRUE, 0, values.size() * sizeof(cl_uint), values.data());
        return values;
    };
    const fs::path doubling = fs::directory_iterator(cache)->path();
    EXPECT_EQ(valuesAfter(tarwick::opencl_device::buildProgram(context, *device, source, "", cache)),
              (std::vector<cl_uint>{2, 4, 6, 8}));
    EXPECT_EQ(fs::status(cache).permissions() & fs::perms::all, fs::perms::owner_all);

    // Loaded code runs in the driver: an entry someone else could have written is never used.
    // In place of the entry of a source that triples, the doubling binary is planted,
    // writable by the group, owned by another account, then behind a link; each time the
    // source is built again.
    const std::string tripling =
        "__kernel void scale(__global uint* v) { v[get_global_id(0)] *= 3u; }";
    tarwick::opencl_device::buildProgram(context, *device, tripling, "", cache);
    fs::path entry;
    for (const auto& e : fs::directory_iterator(cache)) {
        if (e.path() != doubling)
            entry = e.path();
    }
    ASSERT_FALSE(entry.empty());
    const std::vector<std::function<void()>> plants = {
        [&] {
            fs::copy_file(doubling, entry, fs::copy_options::overwrite_existing);
            fs::permissions(entry, fs::perms::group_write, fs::perm_options::add);
        },
        [&] {
            // Another account's file (where the test may hand one over), else one others can write.
            fs::copy_file(doubling, entry, fs::copy_options::overwrite_existing);
            if (::geteuid() != 0 || ::chown(entry.c_str(), 65534, 65534) != 0)
                fs::permissions(entry, fs::perms::others_write, fs::perm_options::add);
        },
        [&] {
            fs::copy_file(doubling, cache / "planted", fs::copy_options::overwrite_existing);
            fs::remove(entry);
            fs::create_symlink(cache / "planted", entry);
        },
    };
    for (const auto& plant : plants) {
        plant();
        EXPECT_EQ(valuesAfter(tarwick::opencl_device::buildProgram(context, *device, tripling, "", cache)),
                  (std::vector<cl_uint>{3, 6, 9, 12}));
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(entry))); // stored again
    }
    fs::remove_all(cache);
}

} // namespace
