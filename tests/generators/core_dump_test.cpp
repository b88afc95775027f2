// The generators hold private keys in memory: a crash must not write them to a core dump.

#include "engine/process/CoreDumps.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(CoreDumps, TheCallTurnsOffDumpsAndDumpability) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        tarwick::engine::disableCoreDumps();
        rlimit limit{};
        ::getrlimit(RLIMIT_CORE, &limit);
        ::_exit(limit.rlim_cur == 0 && limit.rlim_max == 0 && ::prctl(PR_GET_DUMPABLE) == 0 ? 0
                                                                                            : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// "soft hard" of the core-file limit of a running process.
std::string coreLimitOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/limits");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Max core file size", 0) == 0) {
            std::istringstream fields(line.substr(18));
            std::string soft;
            std::string hard;
            fields >> soft >> hard;
            return soft + " " + hard;
        }
    }
    return "not found";
}

// Starts the program, waits for its first output (printed after the start-up hardening), and
// returns its core-file limit then; nothing when it ended without a word (no device).
std::optional<std::string> coreLimitOnceRunning(std::vector<std::string> args) {
    const fs::path log = fs::temp_directory_path() / ("tarwick_core_" + std::to_string(::getpid()));
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << args[0];
        return std::nullopt;
    }
    std::optional<std::string> limit;
    int status = 0;
    const auto giveUp = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < giveUp && ::waitpid(pid, &status, WNOHANG) == 0) {
        if (fs::file_size(log) > 0) {
            limit = coreLimitOf(pid);
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    if (::waitpid(pid, &status, WNOHANG) == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    fs::remove(log);
    return limit;
}

TEST(CoreDumps, EveryGeneratorTurnsThemOffAtStart) {
    // The programs would inherit a limit that allows dumps.
    rlimit inherited{};
    ASSERT_EQ(::getrlimit(RLIMIT_CORE, &inherited), 0);
    if (inherited.rlim_max == 0) {
        GTEST_SKIP() << "core dumps are off for this test already";
    }
    rlimit allowed = inherited;
    allowed.rlim_cur = inherited.rlim_max;
    ASSERT_EQ(::setrlimit(RLIMIT_CORE, &allowed), 0);
    // A pool that accepts the miner's connection and never answers keeps the miner running.
    const int pool = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(pool, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(pool, 4), 0);
    ASSERT_EQ(::getsockname(pool, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string poolUrl = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";

    const std::vector<std::vector<std::string>> programs = {
        {TARWICK_VANITYGEN64, "-t", "1", "1BitcoinEaterAddressDontSend"},
// PoCL runs badly inside an AddressSanitizer process (see opencl_support.h).
#if defined(TARWICK_OCLVANITYGEN) && !defined(TARWICK_TESTS_SANITIZED)
        {TARWICK_OCLVANITYGEN, "-D", "0:0", "1BitcoinEaterAddressDontSend"},
#endif
#ifdef TARWICK_OCLVANITYMINER64
        {TARWICK_OCLVANITYMINER64, "-u", poolUrl, "-a", "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm"},
#endif
    };
    for (const auto& program : programs) {
        SCOPED_TRACE(program[0]);
        const std::optional<std::string> limit = coreLimitOnceRunning(program);
        if (limit) {
            EXPECT_EQ(*limit, "0 0");
        }
    }
    ::close(pool);
    ::setrlimit(RLIMIT_CORE, &inherited);
}

} // namespace
