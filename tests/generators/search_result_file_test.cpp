// The results file: created owner-only, appended record by record, byte for byte.

#include "engine/search/ResultFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tarwick::engine {
namespace {

std::string readAll(const std::filesystem::path& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

TEST(ResultFile, OwnerOnlyKeepsWhatItHeldAndAppendsEachRecordAtOnce) {
    const auto dir = std::filesystem::path(::testing::TempDir()) /
                     ("tarwick_results_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string error;
    for (const char* earlier : {"", "earlier\n"}) {
        const auto path = dir / (std::string("results") + earlier);
        if (*earlier)
            std::ofstream(path, std::ios::binary) << earlier;
        const mode_t previous = ::umask(0);
        ResultFile file;
        const bool opened = file.open(path.string(), error);
        ::umask(previous);
        ASSERT_TRUE(opened) << error;
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_TRUE(*earlier || (info.st_mode & 0777) == 0600) << "a new file, umask 0";
        std::string expected = earlier;
        for (const char* record : {"Pattern: 1A\nAddress: 1Aa\nPrivkey: K1\n", "Pattern: 1B\n"}) {
            ASSERT_TRUE(file.append(record, error)) << error;
            EXPECT_EQ(readAll(path), expected += record); // before the file is closed
        }
    }
    ResultFile file;
    EXPECT_FALSE(file.open((dir / "missing" / "results.txt").string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(file.append("x", error));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace tarwick::engine
