// oclvanityminer64.exe end to end, started as the front-end starts it, against the local
// test pool, which checks every claim with libsecp256k1 and OpenSSL on its own.

#include "PoolVectors.h"
#include "TestPool.h"
#include "ec_reference.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace tarwick;
using namespace std::chrono_literals;
using Args = std::vector<std::string>;

struct MinerRun {
    int exitCode = -1; // -1: ended by a signal
    std::string out;
};

std::string readAll(const fs::path& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Starts the miner with stdout and stderr in one file (as the front-end does), waits until
// `done` holds or the time is up, then asks it to stop with SIGTERM.
MinerRun runMiner(Args args, std::chrono::seconds limit,
                  const std::function<bool(const std::string&)>& done) {
    const fs::path log = fs::temp_directory_path() /
                         ("tarwick_pool_" + std::to_string(::getpid()) + "_" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log");
    args.insert(args.begin(), TARWICK_OCLVANITYMINER64);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return {};
    }
    int status = 0;
    bool exited = false;
    for (const auto deadline = std::chrono::steady_clock::now() + limit;
         !exited && std::chrono::steady_clock::now() < deadline && !(done && done(readAll(log)));
         std::this_thread::sleep_for(50ms))
        exited = ::waitpid(pid, &status, WNOHANG) == pid;
    if (!exited) {
        ::kill(pid, SIGTERM);
        // It stops its search threads within about a second; a stuck request may take longer.
        const auto killAt = std::chrono::steady_clock::now() + 10s;
        while (::waitpid(pid, &status, WNOHANG) != pid) {
            if (std::chrono::steady_clock::now() > killAt) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
            }
            std::this_thread::sleep_for(20ms);
        }
    }
    MinerRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(log)};
    fs::remove(log);
    return run;
}

#ifdef TARWICK_TESTS_SANITIZED
constexpr auto kSolveLimit = 50s;
#else
constexpr auto kSolveLimit = 20s;
#endif

// One easy item on the CPU: what the pool accepted and what the front-end sees. (The OpenCL
// search meets the same item in the front-end's end-to-end run.)
TEST(MinerProgram, SolvesAnEasyItem) {
    test::TestPool pool;
    const test::Key a = test::TestRandom(3).key();
    const std::string p = test::toHex(test::referencePublicKey(a, true)); // compressed in the list
    pool.setWork("1Ab:" + p + ":0:0.25;easy\n");
    const Args args = {"-u", pool.url(), "-a", test::kRewardAddress, "-i", "300", "-t", "1"};
    const MinerRun run = runMiner(args, kSolveLimit, [&](const std::string& out) {
        return contains(out, "Pool answer to the claim for 1Ab: ");
    });
    ASSERT_EQ(pool.accepted().size(), 1u) << run.out;
    const test::TestPool::Accepted accepted = pool.accepted()[0];
    EXPECT_EQ(accepted.pattern, "1Ab");
    EXPECT_EQ(accepted.rewardAddress, test::kRewardAddress);
    // The claim names the key uncompressed and upper-case, and the full key a + k (which only
    // the requester can form) controls the address the pool computed.
    std::string upper = test::toHex(test::referencePublicKey(a, false));
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    EXPECT_EQ(accepted.publicKeyHex, upper);
    ASSERT_EQ(accepted.offsetHex.size(), 64u);
    const test::Key full = test::referenceKeyPlus(a, test::keyFromHex(accepted.offsetHex));
    EXPECT_EQ(test::referenceAddress(full, false), accepted.address);
    EXPECT_EQ(accepted.address.rfind("1Ab", 0), 0u);

    // What the front-end sees.
    EXPECT_TRUE(contains(run.out, "Pattern: 1Ab\nAddress: " + accepted.address + "\nPrivkeyPart: "))
        << run.out;
    EXPECT_FALSE(contains(run.out, "Privkey: "));
    EXPECT_TRUE(contains(run.out, "Pool answer to the claim for 1Ab: OK!")) << run.out;
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_FALSE(contains(run.out, "error ")) << run.out;
}

// How the program ends on bad options, a bad reward address, a pool that is down or too
// slow for -T, and that a slow pool within -T is waited for.
TEST(MinerProgram, EndsAsTheFrontEndExpects) {
    struct Case {
        Args args; // after -u URL, when the URL is not a bad one
        std::chrono::milliseconds delay;
        int exitCode; // of the run, stopped by SIGTERM if still going
        const char* says;
        std::size_t accepted;
        const char* name;
    };
    const std::string item =
        "1Ab:" + test::toHex(test::referencePublicKey(test::TestRandom(6).key(), false)) +
        ":0:0.1;x\n";
    const std::string reward = test::kRewardAddress;
    // clang-format off
    const Case cases[] = {
        {{"-h"}, 0ms, 0, "Usage", 0, "help"},
        {{"-a", reward, "-q"}, 0ms, 1, "Option error - ", 0, "bad option"},
        {{"-a", "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZn"}, 0ms, 1, "Reward address error - ", 0,
         "bad reward address"},
        {{"-a", reward, "-T", "5"}, -1ms, 1, "Pool error - ", 0, "pool down"},
        {{"-a", reward, "-t", "1", "-T", "1"}, 3000ms, 1, "Pool error - cannot fetch work", 0,
         "slower than -T"},
        {{"-a", reward, "-t", "1", "-T", "5"}, 1200ms, 0, "PrivkeyPart: ", 1, "slow within -T"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<test::TestPool> pool(std::in_place);
        const std::string url = pool->url();
        if (c.delay < 0ms)
            pool.reset(); // the pool is gone; its port is closed
        else
            pool->setDelay(c.delay), pool->setWork(item);
        Args args = c.args;
        args.insert(args.begin(), {"-u", url});
        const MinerRun run = runMiner(args, kSolveLimit, [&](const std::string&) {
            return c.accepted > 0 && !pool->accepted().empty();
        });
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out;
        EXPECT_TRUE(contains(run.out, c.says)) << run.out;
        if (pool) {
            EXPECT_EQ(pool->accepted().size(), c.accepted) << run.out;
            // Only the runs that get past their options ask for work.
            EXPECT_EQ(pool->workRequests() > 0, c.delay > 0ms);
        }
    }
}

} // namespace
