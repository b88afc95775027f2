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
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ResultFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tarwick_results_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(ResultFileTest, CreatesOwnerOnlyAndAppendsRecordsExactly) {
    const auto path = dir_ / "results.txt";
    const mode_t previous = ::umask(0);
    ResultFile file;
    std::string error;
    const bool opened = file.open(path.string(), error);
    ::umask(previous);
    ASSERT_TRUE(opened) << error;
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(readAll(path), "");

    ASSERT_TRUE(file.append("Pattern: 1A\nAddress: 1Aa\nPrivkey: K1\n", error)) << error;
    // Visible to a reader at once, before the file is closed.
    EXPECT_EQ(readAll(path), "Pattern: 1A\nAddress: 1Aa\nPrivkey: K1\n");
    ASSERT_TRUE(file.append("Pattern: 1B\nAddress: 1Bb\nPrivkey: K2\n", error)) << error;
    EXPECT_EQ(readAll(path),
              "Pattern: 1A\nAddress: 1Aa\nPrivkey: K1\nPattern: 1B\nAddress: 1Bb\nPrivkey: K2\n");
}

TEST_F(ResultFileTest, KeepsWhatTheFileAlreadyHeld) {
    const auto path = dir_ / "results.txt";
    { std::ofstream(path, std::ios::binary) << "earlier\n"; }
    ResultFile file;
    std::string error;
    ASSERT_TRUE(file.open(path.string(), error)) << error;
    ASSERT_TRUE(file.append("Pattern: 1C\n", error));
    EXPECT_EQ(readAll(path), "earlier\nPattern: 1C\n");
}

TEST_F(ResultFileTest, ReportsAFileThatCannotBeOpened) {
    ResultFile file;
    std::string error;
    EXPECT_FALSE(file.open((dir_ / "missing" / "results.txt").string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.append("x", error));
}

} // namespace
} // namespace tarwick::engine
