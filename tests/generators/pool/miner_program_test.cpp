// oclvanityminer64.exe end to end, started as the front-end starts it, against the local
// test pool, which checks every claim with libsecp256k1 and OpenSSL on its own.

#include "PoolVectors.h"
#include "TestPool.h"
#include "ec_reference.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
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

struct MinerRun {
    int exitCode = -1;
    int signal = 0;
    std::string out;
};

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Starts the miner with stdout and stderr in one file (as the front-end does), waits until
// `done` holds or the time is up, then asks it to stop with SIGTERM.
MinerRun runMiner(const std::vector<std::string>& args, std::chrono::seconds limit,
                  const std::function<bool(const std::string&)>& done) {
    const fs::path log = fs::temp_directory_path() /
                         ("tarwick_pool_" + std::to_string(::getpid()) + "_" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log");
    std::vector<std::string> all = {TARWICK_OCLVANITYMINER64};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
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
    MinerRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    bool exited = false;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            break;
        }
        if (done && done(readAll(log)))
            break;
        std::this_thread::sleep_for(50ms);
    }
    if (!exited) {
        ::kill(pid, SIGTERM);
        // It stops its search threads within about a second; a stuck request may take longer.
        const auto killAt = std::chrono::steady_clock::now() + 10s;
        while (::waitpid(pid, &status, WNOHANG) != pid) {
            if (std::chrono::steady_clock::now() > killAt) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
    }
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        run.signal = WTERMSIG(status);
    run.out = readAll(log);
    fs::remove(log);
    return run;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string upperHex(const test::Bytes& bytes) {
    std::string hex = test::toHex(bytes);
    for (char& c : hex)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return hex;
}

#ifdef TARWICK_TESTS_SANITIZED
constexpr auto kSolveLimit = 50s;
#else
constexpr auto kSolveLimit = 20s;
#endif

// Runs the miner on one easy item and checks what the pool accepted and what the front-end
// sees. `device` empty: the CPU.
void solveEasyItem(const std::string& device, std::chrono::seconds limit, std::uint64_t seed) {
    test::TestPool pool;
    test::TestRandom random(seed);
    const test::Key a = random.key();
    const std::string p = test::toHex(test::referencePublicKey(a, true)); // compressed in the list
    pool.setWork("1Ab:" + p + ":0:0.25;easy\n");
    std::vector<std::string> args = {"-u", pool.url(), "-a", test::kRewardAddress,
                                     "-i", "300",      "-t", "1"};
    if (!device.empty()) {
        args.insert(args.end(), {"-D", device});
    }
    const MinerRun run = runMiner(args, limit, [&](const std::string& out) {
        return contains(out, "Pool answer to the claim for 1Ab: ");
    });
    ASSERT_EQ(pool.accepted().size(), 1u) << run.out;
    const test::TestPool::Accepted accepted = pool.accepted()[0];
    EXPECT_EQ(accepted.pattern, "1Ab");
    EXPECT_EQ(accepted.rewardAddress, test::kRewardAddress);
    // The claim names the key uncompressed and upper-case, and the full key a + k (which only
    // the requester can form) controls the address the pool computed.
    EXPECT_EQ(accepted.publicKeyHex, upperHex(test::referencePublicKey(a, false)));
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

TEST(MinerProgram, SolvesAnEasyItemOnTheCpu) {
    solveEasyItem("", kSolveLimit, 3);
}

// On the first OpenCL device (PoCL on a machine without a GPU). Building the kernels takes
// PoCL over a minute the first time; later starts load the cached binary. Without a usable
// device the miner says so and searches on the CPU, which this test then covers again.
TEST(MinerProgram, SolvesAnEasyItemOnOpenClDevice0) {
#ifdef TARWICK_TESTS_SANITIZED
    GTEST_SKIP() << "OpenCL is not run under AddressSanitizer: PoCL's kernel compiler and "
                    "kernels would run inside the instrumented miner; the RelWithDebInfo build "
                    "runs this test";
#endif
    solveEasyItem("0:0", 180s, 7);
}

TEST(MinerProgram, StatusLineAndNoWork) {
    test::TestPool pool; // an empty list
    const MinerRun run =
        runMiner({"-u", pool.url(), "-a", test::kRewardAddress, "-i", "300", "-t", "1"}, 10s,
                 [](const std::string& out) { return contains(out, "[No work]"); });
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(contains(run.out, "No work available")) << run.out;
    const std::size_t status = run.out.find("\r[");
    ASSERT_NE(status, std::string::npos) << run.out;
    const std::size_t close = run.out.find(']', status);
    EXPECT_TRUE(contains(run.out.substr(status, close - status), "key/s")) << run.out;
    EXPECT_TRUE(contains(run.out, "[Claimed 0, 0 BTC]")) << run.out;
}

TEST(MinerProgram, PoolDownAtStart) {
    test::Bytes unused;
    std::string url;
    {
        test::TestPool pool;
        url = pool.url();
    } // the pool is gone; its port is closed
    const MinerRun run = runMiner(
        {"-u", url, "-a", test::kRewardAddress, "-i", "300", "-t", "1", "-T", "5"}, 20s, nullptr);
    EXPECT_NE(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.signal, 0);
    EXPECT_TRUE(contains(run.out, "error ")) << run.out;
}

TEST(MinerProgram, BadRewardAddress) {
    test::TestPool pool;
    const MinerRun run = runMiner(
        {"-u", pool.url(), "-a", "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZn", "-i", "300"}, 10s, nullptr);
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_TRUE(contains(run.out, "Reward address error - ")) << run.out;
    EXPECT_EQ(pool.workRequests(), 0);
}

TEST(MinerProgram, GarbageThenGoodAnswers) {
    test::TestPool pool;
    test::TestRandom random(4);
    const test::Key a = random.key();
    pool.setMode(test::TestPool::Mode::Garbage);
    pool.setWork("1Ab:" + test::toHex(test::referencePublicKey(a, false)) + ":0:0.1;x\n");
    std::thread heal([&] {
        std::this_thread::sleep_for(1500ms);
        pool.setMode(test::TestPool::Mode::Normal);
    });
    const MinerRun run =
        runMiner({"-u", pool.url(), "-a", test::kRewardAddress, "-i", "300", "-t", "1"},
                 kSolveLimit, [&](const std::string&) { return !pool.accepted().empty(); });
    heal.join();
    EXPECT_TRUE(contains(run.out, "holds no usable item")) << run.out;
    ASSERT_EQ(pool.accepted().size(), 1u) << run.out;
    EXPECT_GE(pool.workRequests(), 2);
}

TEST(MinerProgram, ServerErrorsThenRecovery) {
    test::TestPool pool;
    test::TestRandom random(5);
    pool.setWork("1Ab:" + test::toHex(test::referencePublicKey(random.key(), false)) +
                 ":0:0.1;x\n");
    pool.setMode(test::TestPool::Mode::ServerError);
    std::thread heal([&] {
        std::this_thread::sleep_for(1500ms);
        pool.setMode(test::TestPool::Mode::Normal);
    });
    // A 500 at start is an answer, not an unreachable pool, but it gives no work: the miner
    // keeps asking.
    const MinerRun run =
        runMiner({"-u", pool.url(), "-a", test::kRewardAddress, "-i", "300", "-t", "1"},
                 kSolveLimit, [&](const std::string&) { return !pool.accepted().empty(); });
    heal.join();
    EXPECT_TRUE(contains(run.out, "HTTP status 500")) << run.out;
    EXPECT_TRUE(contains(run.out, "error ")) << run.out;
    EXPECT_EQ(pool.accepted().size(), 1u) << run.out;
}

TEST(MinerProgram, SlowPoolAnswersWithinTheTimeLimit) {
    test::TestPool pool;
    test::TestRandom random(6);
    pool.setWork("1Ab:" + test::toHex(test::referencePublicKey(random.key(), false)) +
                 ":0:0.1;x\n");
    pool.setDelay(1200ms);
    const MinerRun run =
        runMiner({"-u", pool.url(), "-a", test::kRewardAddress, "-i", "300", "-t", "1", "-T", "5"},
                 kSolveLimit, [&](const std::string&) { return !pool.accepted().empty(); });
    EXPECT_EQ(pool.accepted().size(), 1u) << run.out;
    EXPECT_FALSE(contains(run.out, "error ")) << run.out;
}

TEST(MinerProgram, SlowPoolBeyondTheTimeLimitIsAnError) {
    test::TestPool pool;
    pool.setDelay(3000ms);
    const MinerRun run =
        runMiner({"-u", pool.url(), "-a", test::kRewardAddress, "-i", "300", "-t", "1", "-T", "1"},
                 15s, nullptr);
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_TRUE(contains(run.out, "Pool error - cannot fetch work")) << run.out;
}

} // namespace
