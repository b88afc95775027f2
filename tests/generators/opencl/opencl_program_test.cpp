// oclvanitygen.exe end to end on platform 0 (PoCL where there is no GPU): the listing the
// front-end asks for with -D 99:99, and real searches whose every reported key is derived
// again with libsecp256k1 and OpenSSL.

#include "ec_reference.h"
#include "opencl_device/DeviceList.h"
#include "opencl_support.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Record {
    std::string pattern;
    std::string address;
    std::string privkey;
};

struct ProgramRun {
    int exitCode = -1;
    std::string output; // standard output and error together, as the front-end logs them
};

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<Record> records(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        // Status refreshes share a line with what follows them up to the last \r.
        const std::size_t cr = line.rfind('\r');
        lines.push_back(cr == std::string::npos ? line : line.substr(cr + 1));
    }
    std::vector<Record> out;
    for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
        if (lines[i].rfind("Pattern: ", 0) == 0 && lines[i + 1].rfind("Address: ", 0) == 0 &&
            lines[i + 2].rfind("Privkey: ", 0) == 0) {
            out.push_back({lines[i].substr(9), lines[i + 1].substr(9), lines[i + 2].substr(9)});
            i += 2;
        }
    }
    return out;
}

class OpenClProgram : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tarwick_ocl_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path path(const std::string& name) const { return dir_ / name; }

    // Runs the program to its end with both output streams in one file; device binaries
    // come from the test cache (timeout(1) ends a run that hangs).
    ProgramRun run(const std::string& args) const {
        const fs::path log = path("stdout.log");
        const std::string command = "cd '" + dir_.string() + "' && XDG_CACHE_HOME='" +
                                    std::string(TARWICK_OPENCL_TEST_CACHE) +
                                    "' timeout -s KILL 600 '" + TARWICK_OCLVANITYGEN + "' " + args +
                                    " >'" + log.string() + "' 2>&1";
        const int status = std::system(command.c_str());
        ProgramRun result;
        if (status != -1 && WIFEXITED(status)) {
            result.exitCode = WEXITSTATUS(status);
        }
        result.output = readAll(log);
        return result;
    }

    fs::path dir_;
};

void expectVerified(const std::vector<Record>& found) {
    for (const Record& r : found) {
        EXPECT_EQ(tarwick::test::referenceAddressMismatch(r.privkey, r.address, true), "")
            << r.address;
        EXPECT_TRUE(r.privkey[0] == 'K' || r.privkey[0] == 'L') << r.privkey;
    }
}

TEST(OpenClListing, FormatsPlatformsAndDevices) {
    using tarwick::opencl_device::PlatformEntry;
    const std::vector<PlatformEntry> platforms = {
        {{"The pocl project", "Portable Computing Language"},
         {{"AuthenticAMD", "pthread-skylake-avx512-AMD EPYC"}}},
        {{"NVIDIA Corporation", "NVIDIA CUDA"},
         {{"NVIDIA Corporation", "NVIDIA H100"}, {"NVIDIA Corporation", "NVIDIA A100"}}}};
    EXPECT_EQ(tarwick::opencl_device::formatPlatformListing(platforms),
              "Available OpenCL platforms:\n"
              "0: [The pocl project] Portable Computing Language\n"
              "  0: [AuthenticAMD] pthread-skylake-avx512-AMD EPYC\n"
              "1: [NVIDIA Corporation] NVIDIA CUDA\n"
              "  0: [NVIDIA Corporation] NVIDIA H100\n"
              "  1: [NVIDIA Corporation] NVIDIA A100\n");
    EXPECT_EQ(tarwick::opencl_device::formatPlatformListing({}), "");
}

TEST(OpenClListing, ParsesDeviceAddresses) {
    tarwick::opencl_device::DeviceAddress address;
    ASSERT_TRUE(tarwick::opencl_device::parseDeviceAddress("99:99", address));
    EXPECT_EQ(address.platform, 99u);
    EXPECT_EQ(address.device, 99u);
    ASSERT_TRUE(tarwick::opencl_device::parseDeviceAddress("0:1", address));
    EXPECT_EQ(address.device, 1u);
    EXPECT_FALSE(tarwick::opencl_device::parseDeviceAddress("0", address));
    EXPECT_FALSE(tarwick::opencl_device::parseDeviceAddress("a:1", address));
    EXPECT_FALSE(tarwick::opencl_device::parseDeviceAddress("1:", address));
}

TEST_F(OpenClProgram, MissingDeviceListsThePlatformsAndEnds) {
    std::string reason;
    if (!tarwick::test::openclDeviceOrSkip(reason)) {
        GTEST_SKIP() << reason;
    }
    // The front-end's probe, character for character.
    const ProgramRun r = run("-D 99:99 -o results.txt 1Tarwick");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.output, tarwick::opencl_device::formatPlatformListing(
                            tarwick::opencl_device::listPlatforms()));
    EXPECT_EQ(r.output.rfind("Available OpenCL platforms:\n0: [", 0), 0u) << r.output;
    EXPECT_NE(r.output.find("\n  0: ["), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(path("results.txt")));
    // A platform that exists with a device that does not.
    EXPECT_NE(run("-D 0:99 1A").output.find("Available OpenCL platforms:"), std::string::npos);
}

TEST_F(OpenClProgram, PoclIsListed) {
    std::string reason;
    if (!tarwick::test::openclDeviceOrSkip(reason)) {
        GTEST_SKIP() << reason;
    }
    const ProgramRun r = run("-D 99:99 -o results.txt 1Tarwick");
    EXPECT_NE(r.output.find(": [The pocl project] Portable Computing Language\n"),
              std::string::npos)
        << r.output;
}

TEST_F(OpenClProgram, FindsEasyPatternsAndEveryKeyIsVerified) {
    std::string reason;
    if (!tarwick::test::openclDeviceOrSkip(reason)) {
        GTEST_SKIP() << reason;
    }
    const ProgramRun r = run("-D 0:0 -o results.txt 1A 1Ab");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output.rfind("Next match difficulty: 22 (2 prefixes)\n", 0), 0u) << r.output;
    const std::vector<Record> printed = records(r.output);
    const std::string file = readAll(path("results.txt"));
    const std::vector<Record> stored = records(file);
    ASSERT_EQ(stored.size(), 2u) << file;
    ASSERT_EQ(printed.size(), 2u) << r.output;
    std::set<std::string> patterns;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        patterns.insert(stored[i].pattern);
        EXPECT_EQ(stored[i].address.rfind(stored[i].pattern, 0), 0u) << stored[i].address;
        EXPECT_EQ(stored[i].address, printed[i].address);
        EXPECT_EQ(stored[i].privkey, printed[i].privkey);
    }
    EXPECT_EQ(patterns, (std::set<std::string>{"1A", "1Ab"}));
    expectVerified(stored);
    // Whole records only, and readable by the owner alone.
    EXPECT_EQ(file, "Pattern: " + stored[0].pattern + "\nAddress: " + stored[0].address +
                        "\nPrivkey: " + stored[0].privkey + "\nPattern: " + stored[1].pattern +
                        "\nAddress: " + stored[1].address + "\nPrivkey: " + stored[1].privkey +
                        "\n");
    struct stat info {};
    ASSERT_EQ(::stat(path("results.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(OpenClProgram, KeyThatCannotBeWrittenEndsTheRunWithItsOwnCode) {
    std::string reason;
    if (!tarwick::test::openclDeviceOrSkip(reason)) {
        GTEST_SKIP() << reason;
    }
    const ProgramRun r = run("-D 0:0 -o /dev/full 1A");
    EXPECT_EQ(r.exitCode, 4) << r.output;
    EXPECT_NE(r.output.find("Output error - "), std::string::npos) << r.output;
    const std::vector<Record> printed = records(r.output);
    ASSERT_EQ(printed.size(), 1u) << r.output;
    expectVerified(printed);
}

TEST_F(OpenClProgram, KeysFoundInOneRunAreUnrelated) {
    std::string reason;
    if (!tarwick::test::openclDeviceOrSkip(reason)) {
        GTEST_SKIP() << reason;
    }
    // Patterns "1A" + one character: several finds from one launch and from many work items.
    const std::string alphabet = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
    std::ofstream patterns(path("patterns.txt"));
    for (const char c : alphabet) {
        patterns << "1A" << c << "\n";
    }
    patterns.close();
    const ProgramRun r = run("-D 0:0 -o results.txt -f patterns.txt");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::vector<Record> found = records(readAll(path("results.txt")));
    EXPECT_EQ(found.size(), alphabet.size());
    std::vector<tarwick::test::Key> keys;
    for (const Record& rec : found) {
        const auto key = tarwick::test::referenceKeyOfWif(rec.privkey);
        ASSERT_TRUE(key) << rec.privkey;
        keys.push_back(*key);
    }
    EXPECT_EQ(tarwick::test::closelyRelatedKeys(keys), "");
    expectVerified(found);
}

TEST_F(OpenClProgram, CaseInsensitiveFindsAnySpelling) {
    std::string reason;
    if (!tarwick::test::openclDeviceOrSkip(reason)) {
        GTEST_SKIP() << reason;
    }
    const ProgramRun r = run("-i -D 0:0 -o results.txt 1aBc");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::vector<Record> stored = records(readAll(path("results.txt")));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].pattern, "1aBc");
    std::string lower = stored[0].address.substr(0, 4);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(lower, "1abc") << stored[0].address;
    expectVerified(stored);
}

TEST_F(OpenClProgram, StatusLineWithKeyRate) {
    std::string reason;
    if (!tarwick::test::openclDeviceOrSkip(reason)) {
        GTEST_SKIP() << reason;
    }
    // Difficulty about 1.6 million: long enough on PoCL for a status refresh or two.
    const ProgramRun r = run("-D 0:0 -o results.txt 1Abcd");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output.rfind("Difficulty: ", 0), 0u) << r.output;
    const std::size_t status = r.output.find("\r[");
    if (status != std::string::npos) {
        EXPECT_NE(r.output.find("key/s][total ", status), std::string::npos) << r.output;
    }
    expectVerified(records(readAll(path("results.txt"))));
}

TEST_F(OpenClProgram, NoUsablePatternIsAnError) {
    std::string reason;
    if (!tarwick::test::openclDeviceOrSkip(reason)) {
        GTEST_SKIP() << reason;
    }
    const ProgramRun r = run("-D 0:0 -o results.txt 0OIl");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("error "), std::string::npos) << r.output;
    EXPECT_NE(run("-D zero").output.find("error "), std::string::npos);
}

} // namespace
