// oclvanitygen.exe on platform 0 (PoCL where there is no GPU), started as the front-end
// starts it: the listing it asks for with -D 99:99 (its layout is checked end to end), and
// searches whose every reported key is re-derived with libsecp256k1 and OpenSSL.

#include "ProgramRun.h"
#include "opencl_device/DeviceList.h"

namespace tarwick::test {
namespace {

TEST(OpenClProgram, Runs) {
    if (!opencl_device::findDevice({0, 0})) {
        GTEST_SKIP() << "no OpenCL device 0:0 on this machine (install pocl-opencl-icd)";
    }
    const std::string listing =
        opencl_device::formatPlatformListing(opencl_device::listPlatforms());
    // Patterns "1A" + one character: several finds from one launch and from many work items.
    const std::string alphabet = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
    std::string many;
    for (const char c : alphabet) {
        many += std::string("1A") + c + "\n";
    }
    // clang-format off
    const ProgramCase cases[] = {
        {{"-D", "99:99", "-o", "results.txt", "1Tarwick"}, 5, listing.c_str(), 0, "the probe"},
        {{"-D", "0:99", "1A"}, 5, "Available OpenCL platforms:\n0: [", 0, "no such device"},
        {{"-D", "0:0", "-o", "results.txt", "1A", "1Ab"}, 0,
         "Next match difficulty: 22 (2 prefixes)\n", 2, "two patterns"},
        {{"-i", "-D", "0:0", "-o", "results.txt", "1aBc"}, 0, "Pattern: 1aBc", 1, "any case"},
        {{"-v", "-D", "0:0", "-o", "results.txt", "-f", "patterns.txt"}, 0, " work items in groups of ",
         int(alphabet.size()), "many finds", many},
        {{"-k", "-D", "0:0", "-o", "/dev/full", "1A"}, 4, "Output error - ", 1, "key not written"},
        {{"-D", "0:0", "1BitcoinEaterAddressDontSend"}, -SIGTERM, "key/s][total ", 0,
         "status line", {}, {.stopWhen = [](const std::string& out) {
             return out.find("key/s][total ") != std::string::npos; }}},
        {{"-D", "0:0", "-o", "results.txt", "0OIl"}, 1, "error ", 0, "no usable pattern"},
        {{"-D", "zero", "1A"}, 1, "error ", 0, "bad device"}, {{"-h"}, 0, "-o FILE", 0, "help"},
        {{"-o", "folder/results.txt", "1A"}, 1, "Output error - ", 0, "results file cannot be made"},
    };
    // clang-format on
    for (ProgramCase c : cases) {
        // Device binaries come from the test cache, so that only the first run builds them.
        c.options.environment = {std::string("XDG_CACHE_HOME=") + TARWICK_OPENCL_TEST_CACHE};
        c.options.stopAfter = 600s;
        checkProgram(TARWICK_OCLVANITYGEN, c);
    }
}

} // namespace
} // namespace tarwick::test
