// Building kernels: a second build comes from the binary cache, and only cache entries the
// user alone could have written are used.

#include "ProgramRun.h"
#include "opencl_device/DeviceList.h"
#include "opencl_device/KernelProgram.h"

#include <gmock/gmock.h>

namespace tarwick::test {
namespace {

TEST(OpenClBuild, BinaryCacheHoldsOnlyTheUsersOwnEntries) {
    const std::optional<cl::Device> device = opencl_device::findDevice({0, 0});
    if (!device) {
        GTEST_SKIP() << "no OpenCL device 0:0 on this machine (install pocl-opencl-icd)";
    }
    const cl::Context context(*device);
    const TempFolder folder;
    const fs::path cache = folder.path / "cache";
    const cl::CommandQueue queue(context, *device);
    const auto valuesAfter = [&](const std::string& source) {
        cl::Kernel kernel(opencl_device::buildProgram(context, *device, source, "", cache),
                          "scale");
        std::vector<cl_uint> values = {1, 2, 3, 4};
        cl::Buffer buffer(context, CL_MEM_READ_WRITE | CL_MEM_COPY_HOST_PTR, std::size_t{16},
                          values.data());
        kernel.setArg(0, buffer);
        queue.enqueueNDRangeKernel(kernel, cl::NullRange, cl::NDRange(values.size()));
        queue.enqueueReadBuffer(buffer, CL_TRUE, 0, 16, values.data());
        return values;
    };
    const auto scale = [](int by) {
        return "__kernel void scale(__global uint* v) { v[get_global_id(0)] *= " +
               std::to_string(by) + "u; }";
    };
    // Built, then loaded from its cache entry.
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(valuesAfter(scale(2)), (std::vector<cl_uint>{2, 4, 6, 8}));
    }
    EXPECT_EQ(fs::status(cache).permissions() & fs::perms::all, fs::perms::owner_all);
    const fs::path doubling = fs::directory_iterator(cache)->path();
    EXPECT_EQ(doubling.extension(), ".bin");
    // A source that does not build: the error carries the compiler's log.
    EXPECT_THAT([&] { valuesAfter("__kernel void scale(__global uint* v) { *v = undeclared; }"); },
                ::testing::ThrowsMessage<opencl_device::KernelBuildError>(
                    ::testing::HasSubstr("undeclared")));
    // Loaded code runs in the driver: an entry others could have written is never used. The
    // doubling binary is planted as the tripling source's entry, writable by the group, owned by
    // another account (or writable by others), then behind a link; each time it is rebuilt.
    valuesAfter(scale(3));
    fs::path entry;
    for (const auto& e : fs::directory_iterator(cache)) {
        entry = e.path() != doubling ? e.path() : entry;
    }
    ASSERT_FALSE(entry.empty());
    for (const auto plant : {fs::perms::group_write, fs::perms::others_write, fs::perms::none}) {
        fs::copy_file(doubling, cache / "planted", fs::copy_options::overwrite_existing);
        fs::remove(entry);
        if (plant == fs::perms::none) {
            fs::create_symlink(cache / "planted", entry);
        } else {
            fs::copy_file(cache / "planted", entry);
            if (plant == fs::perms::others_write && ::geteuid() == 0) {
                EXPECT_EQ(::chown(entry.c_str(), 65534, 65534), 0); // another account's file
            } else {
                fs::permissions(entry, plant, fs::perm_options::add);
            }
        }
        EXPECT_EQ(valuesAfter(scale(3)), (std::vector<cl_uint>{3, 6, 9, 12}));
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(entry)));
    }
}

} // namespace
} // namespace tarwick::test
