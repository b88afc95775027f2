// What the generator writes: status refreshes, found records on the console and in the
// results file, failures.

#include "program/ConsoleReport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace tarwick::program {
namespace {

namespace fs = std::filesystem;

std::string contents(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string out;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        out.append(buffer, n);
    }
    return out;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

engine::FoundKey sampleKey() {
    engine::FoundKey key;
    key.pattern = "1Ab";
    key.address = "1AbqrdbFA3UJ1g2cSop1pWKevgjso5XsSM";
    key.privateKeyWif = "5JSi6i9JAhjg3RsZXzaDHvADBj3p5i3RY1ohWYfADJjHSba6oEQ";
    return key;
}

class ConsoleReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        out_ = std::tmpfile();
        err_ = std::tmpfile();
        ASSERT_NE(out_, nullptr);
        ASSERT_NE(err_, nullptr);
        path_ = fs::temp_directory_path() /
                ("tarwick_report_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
        fs::remove(path_);
    }
    void TearDown() override {
        std::fclose(out_);
        std::fclose(err_);
        fs::remove(path_);
    }
    std::FILE* out_ = nullptr;
    std::FILE* err_ = nullptr;
    fs::path path_;
};

TEST_F(ConsoleReportTest, StatusThenFoundThenFailure) {
    engine::ResultFile results;
    std::string error;
    ASSERT_TRUE(results.open(path_.string(), error)) << error;
    ConsoleReport report(out_, err_, &results);
    engine::SearchStatus status;
    status.keysPerSecond = 944120;
    status.totalKeys = 713472;
    status.difficulty = 77178;
    status.keysSinceLastFind = 713472;
    report.status(status);
    report.found(sampleKey());
    report.failed("Self-check error - a key failed");
    report.close();

    const std::string record = "Pattern: 1Ab\nAddress: 1AbqrdbFA3UJ1g2cSop1pWKevgjso5XsSM\n"
                               "Privkey: 5JSi6i9JAhjg3RsZXzaDHvADBj3p5i3RY1ohWYfADJjHSba6oEQ\n";
    const std::string console = contents(out_);
    ASSERT_EQ(console.substr(0, 20), "\r[944.12 Kkey/s][tot");
    // The refresh is padded to 79 characters, then a line break ends it before the record.
    EXPECT_EQ(console.substr(80), "\n" + record + "Self-check error - a key failed\n");
    EXPECT_EQ(readAll(path_), record);
    EXPECT_FALSE(report.writeFailed());
    EXPECT_EQ(contents(err_), "");
}

TEST_F(ConsoleReportTest, FoundBeforeAnyStatusAndWithoutAResultsFile) {
    ConsoleReport report(out_, err_, nullptr);
    report.found(sampleKey());
    report.found(sampleKey());
    report.close();
    const std::string record = "Pattern: 1Ab\nAddress: 1AbqrdbFA3UJ1g2cSop1pWKevgjso5XsSM\n"
                               "Privkey: 5JSi6i9JAhjg3RsZXzaDHvADBj3p5i3RY1ohWYfADJjHSba6oEQ\n";
    EXPECT_EQ(contents(out_), record + record);
    EXPECT_FALSE(fs::exists(path_));
}

TEST_F(ConsoleReportTest, ResultsFileThatFailsStillShowsTheKey) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full to make writes fail";
    }
    engine::ResultFile full; // every write fails: no space left on the device
    std::string error;
    ASSERT_TRUE(full.open("/dev/full", error)) << error;
    ConsoleReport report(out_, err_, &full);
    report.found(sampleKey());
    EXPECT_TRUE(report.writeFailed());
    EXPECT_NE(contents(err_).find("error "), std::string::npos);
    EXPECT_NE(contents(out_).find("Privkey: 5JSi6i9"), std::string::npos);
}

} // namespace
} // namespace tarwick::program
