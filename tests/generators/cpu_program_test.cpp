// vanitygen64.exe end to end: the program is started as the front-end starts it, and
// every key it reports is re-derived with libsecp256k1 and OpenSSL.

#include "ec_reference.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Record {
    std::string pattern;
    std::string address;
    std::string privkey;
};

struct ProgramRun {
    int exitCode = -1; // when it exited
    int signal = 0;    // when a signal ended it
    std::string out;
    std::string err;
};

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Records in a text, taken the way the front-end takes them from results.txt.
std::vector<Record> records(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
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

std::string recordText(const Record& r) {
    return "Pattern: " + r.pattern + "\nAddress: " + r.address + "\nPrivkey: " + r.privkey + "\n";
}

class CpuProgram : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tarwick_cpu_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path path(const std::string& name) const { return dir_ / name; }

    void writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    // Starts the program; sends SIGTERM after `terminateAfter` (when given), and kills it
    // if it is still running after `limit`.
    ProgramRun run(const std::vector<std::string>& args,
                   std::chrono::milliseconds terminateAfter = 0ms,
                   std::chrono::seconds limit = 120s,
                   const std::vector<std::string>& extraEnvironment = {}) const {
        const std::string program = TARWICK_VANITYGEN64;
        std::vector<std::string> all = {program};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        const std::string outPath = path("stdout.log").string();
        const std::string errPath = path("stderr.log").string();
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        std::vector<std::string> environment = extraEnvironment;
        for (char** e = environ; *e != nullptr; ++e) {
            environment.emplace_back(*e);
        }
        std::vector<char*> envp;
        for (auto& e : environment) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        pid_t pid = 0;
        const int spawned =
            posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ProgramRun result;
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << program;
            return result;
        }
        const auto start = std::chrono::steady_clock::now();
        bool terminated = false;
        int status = 0;
        for (;;) {
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                break;
            }
            const auto elapsed = std::chrono::steady_clock::now() - start;
            if (!terminated && terminateAfter > 0ms && elapsed >= terminateAfter) {
                ::kill(pid, SIGTERM);
                terminated = true;
            }
            if (elapsed >= limit) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                ADD_FAILURE() << "the program ran past " << limit.count() << " s";
                break;
            }
            std::this_thread::sleep_for(10ms);
        }
        if (WIFEXITED(status)) {
            result.exitCode = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            result.signal = WTERMSIG(status);
        }
        result.out = readAll(outPath);
        result.err = readAll(errPath);
        return result;
    }

    fs::path dir_;
};

void expectVerified(const std::vector<Record>& found, bool compressed) {
    for (const Record& r : found) {
        EXPECT_EQ(tarwick::test::referenceAddressMismatch(r.privkey, r.address, compressed), "")
            << r.address;
        if (compressed) {
            EXPECT_TRUE(r.privkey[0] == 'K' || r.privkey[0] == 'L') << r.privkey;
        } else {
            EXPECT_EQ(r.privkey[0], '5') << r.privkey;
        }
    }
}

TEST_F(CpuProgram, FindsOnePatternAndAppendsItsRecordExactly) {
    const ProgramRun r = run({"-t", "2", "-o", path("results.txt").string(), "1A"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out.rfind("Difficulty: 22\n", 0), 0u) << r.out;
    const auto printed = records(r.out);
    ASSERT_EQ(printed.size(), 1u) << r.out;
    EXPECT_EQ(printed[0].pattern, "1A");
    EXPECT_EQ(printed[0].address.rfind("1A", 0), 0u);
    expectVerified(printed, true);
    // The results file holds the same record, byte for byte, and nothing else.
    EXPECT_EQ(readAll(path("results.txt")), recordText(printed[0]));
    struct stat info {};
    ASSERT_EQ(::stat(path("results.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u);
}

TEST_F(CpuProgram, SeveralPatternsFromAFileWithCrCrLfLines) {
    // The front-end's own patterns file layout, the last line without a line break.
    writeFile("patterns.txt", "1Ab\r\r\n1Bc\r\r\n\r\r\n1cd");
    const ProgramRun r =
        run({"-t", "2", "-o", path("results.txt").string(), "-f", path("patterns.txt").string()});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Next match difficulty: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" (3 prefixes)\n"), std::string::npos) << r.out;
    const auto printed = records(r.out);
    ASSERT_EQ(printed.size(), 3u) << r.out;
    std::vector<std::string> patterns;
    std::string fileText;
    for (const Record& rec : printed) {
        patterns.push_back(rec.pattern);
        EXPECT_EQ(rec.address.rfind(rec.pattern, 0), 0u) << rec.address;
        fileText += recordText(rec);
    }
    std::sort(patterns.begin(), patterns.end());
    EXPECT_EQ(patterns, (std::vector<std::string>{"1Ab", "1Bc", "1cd"}));
    expectVerified(printed, true);
    EXPECT_EQ(readAll(path("results.txt")), fileText);
}

TEST_F(CpuProgram, CaseInsensitiveMixedCase) {
    const ProgramRun r = run({"-t", "2", "-i", "-o", path("results.txt").string(), "1aBc"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const auto printed = records(r.out);
    ASSERT_EQ(printed.size(), 1u) << r.out;
    std::string head = printed[0].address.substr(0, 4);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_EQ(head, "1abc");
    expectVerified(printed, true);
    EXPECT_EQ(readAll(path("results.txt")), recordText(printed[0]));
}

TEST_F(CpuProgram, UncompressedKeys) {
    const ProgramRun r = run({"-t", "1", "-F", "uncompressed", "1Ab", "1A"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const auto printed = records(r.out);
    ASSERT_EQ(printed.size(), 2u) << r.out;
    expectVerified(printed, false);
}

TEST_F(CpuProgram, EveryComputationPathFindsVerifiedKeys) {
    // The portable field and hash code must be as right as the fast paths this CPU picks.
    for (const char* field : {"portable", "mulx-adx", "ifma"}) {
        for (const char* hash : {"scalar", "avx2", "avx512"}) {
            for (const char* format : {"compressed", "uncompressed"}) {
                SCOPED_TRACE(std::string(field) + " " + hash + " " + format);
                const ProgramRun r = run({"-t", "1", "-v", "-F", format, "1Ab", "1B"}, 0ms, 120s,
                                         {std::string("TARWICK_FIELD_BACKEND=") + field,
                                          std::string("TARWICK_HASH_BACKEND=") + hash});
                ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
                const auto printed = records(r.out);
                ASSERT_EQ(printed.size(), 2u) << r.out;
                expectVerified(printed, std::string(format) == "compressed");
                // An unsupported path falls back to one that is; say which ran.
                EXPECT_NE(r.err.find("Hash backend: "), std::string::npos) << r.err;
                EXPECT_NE(r.err.find("Field backend: "), std::string::npos) << r.err;
            }
        }
    }
}

TEST_F(CpuProgram, OnlyInvalidPatternsIsAnError) {
    writeFile("patterns.txt", "0abc\r\n1Il0\r\n2abc\r\n1Ab \r\n");
    const ProgramRun r =
        run({"-t", "1", "-o", path("results.txt").string(), "-f", path("patterns.txt").string()});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    const std::string all = r.out + r.err;
    EXPECT_NE(all.find("error "), std::string::npos) << all;
    EXPECT_NE(all.find("1Il0"), std::string::npos) << all;
    EXPECT_NE(all.find("1Ab "), std::string::npos) << all;
    EXPECT_TRUE(records(r.out).empty());
    EXPECT_EQ(readAll(path("results.txt")), "");
}

TEST_F(CpuProgram, InvalidPatternsWarnAndTheOthersAreSearched) {
    const ProgramRun r = run({"-t", "1", "1I", "1A"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE((r.out + r.err).find("1I"), std::string::npos);
    const auto printed = records(r.out);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].pattern, "1A");
    expectVerified(printed, true);
}

TEST_F(CpuProgram, NoPatternOrBadOptionIsAnError) {
    const ProgramRun none = run({"-t", "1"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE((none.out + none.err).find("error "), std::string::npos);
    const ProgramRun missingFile = run({"-f", path("absent.txt").string()});
    EXPECT_EQ(missingFile.exitCode, 1);
    EXPECT_NE((missingFile.out + missingFile.err).find("error "), std::string::npos);
    const ProgramRun bad = run({"-q", "1A"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE((bad.out + bad.err).find("error "), std::string::npos);
    const ProgramRun help = run({"-h"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("-o FILE"), std::string::npos);
}

TEST_F(CpuProgram, StatusLineWhileSearching) {
    const ProgramRun r = run({"-t", "2", "1BitcoinEaterAddressDontSend"}, 2500ms);
    EXPECT_EQ(r.signal, SIGTERM) << r.out << r.err;
    const auto status = r.out.rfind("\r[");
    ASSERT_NE(status, std::string::npos) << r.out;
    const std::string line = r.out.substr(status + 1);
    EXPECT_NE(line.find("key/s]"), std::string::npos) << line;
    EXPECT_NE(line.find("[total "), std::string::npos) << line;
    EXPECT_NE(line.find("[Prob 0.0%]"), std::string::npos) << line;
    EXPECT_NE(line.find("[50% in "), std::string::npos) << line;
    EXPECT_EQ(line.size(), 79u) << line;
}

TEST_F(CpuProgram, TerminationMidRunLeavesOnlyWholeRecords) {
    // Keep going on an easy pattern, so that records are being written when SIGTERM lands.
    const ProgramRun r = run({"-t", "2", "-k", "-o", path("results.txt").string(), "1A"}, 1500ms);
    EXPECT_EQ(r.signal, SIGTERM) << r.out << r.err;
    const std::string text = readAll(path("results.txt"));
    const auto found = records(text);
    ASSERT_GE(found.size(), 2u);
    std::string whole;
    for (const Record& rec : found) {
        whole += recordText(rec);
    }
    EXPECT_EQ(text, whole); // nothing but complete records
    expectVerified(found, true);
}

TEST_F(CpuProgram, KeyThatCannotBeWrittenEndsTheRunWithItsOwnCode) {
    // The hard second pattern would keep a run going that did not stop at the failed write.
    const ProgramRun r = run({"-t", "1", "-o", "/dev/full", "1A", "1BitcoinEaterAddressDontSend"});
    EXPECT_EQ(r.exitCode, 4) << r.out << r.err;
    EXPECT_NE(r.err.find("Output error - "), std::string::npos) << r.err;
    const auto printed = records(r.out);
    ASSERT_EQ(printed.size(), 1u) << r.out;
    expectVerified(printed, true);
}

TEST_F(CpuProgram, KeysFoundInOneRunAreUnrelated) {
    // Every pattern "1" + two characters: thousands of finds in a few seconds.
    const std::string alphabet = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
    const auto used = static_cast<std::size_t>(tarwick::test::iterations(20));
    std::string patterns;
    for (std::size_t x = 0; x < used; ++x) {
        for (const char y : alphabet) {
            patterns += std::string("1") + alphabet[x] + y + "\n";
        }
    }
    writeFile("patterns.txt", patterns);
    const ProgramRun r =
        run({"-t", "2", "-o", path("results.txt").string(), "-f", path("patterns.txt").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto found = records(readAll(path("results.txt")));
    EXPECT_EQ(found.size(), used * alphabet.size());
    std::vector<tarwick::test::Key> keys;
    for (const Record& rec : found) {
        const auto key = tarwick::test::referenceKeyOfWif(rec.privkey);
        ASSERT_TRUE(key) << rec.privkey;
        keys.push_back(*key);
    }
    EXPECT_EQ(tarwick::test::closelyRelatedKeys(keys), "");
    expectVerified(found, true);
}

} // namespace
