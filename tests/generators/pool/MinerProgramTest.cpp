// oclvanityminer64.exe started as the front-end starts it, against the local test pool,
// which checks every claim with libsecp256k1 and OpenSSL on its own.

#include "PoolVectors.h"
#include "ProgramRun.h"
#include "TestPool.h"

#include <optional>

namespace tarwick::test {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// How the program ends on bad options, a bad reward address, a pool that is down or too slow
// for -T; a slow pool within -T is waited for, and the easy item is solved on the CPU and, but
// under AddressSanitizer (PoCL runs badly there), on OpenCL device 0:0.
TEST(MinerProgram, EndsAsTheFrontEndExpects) {
    struct Case {
        std::vector<std::string> args;   // after -u URL
        std::chrono::milliseconds delay; // of every pool answer; negative: no pool
        int status;                      // stopped by SIGTERM if still going
        const char* says;
        std::size_t accepted;
    };
    const Key a = TestRandom(6).key();
    const std::string item = "1Ab:" + toHex(referencePublicKey(a, true)) + ":0:0.1;x\n";
    const std::string reward = kRewardAddress;
    // clang-format off
    std::vector<Case> cases = {
        {{"-h"}, 0ms, 0, "Usage", 0}, {{"-a", reward, "-q"}, 0ms, 1, "Option error - ", 0},
        {{"-a", "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZn"}, 0ms, 1, "Reward address error - ", 0},
        {{"-a", reward, "-T", "5"}, -1ms, 1, "Pool error - ", 0}, // the pool is down
        {{"-a", reward, "-t", "1", "-T", "1"}, 3000ms, 1, "Pool error - cannot fetch work", 0},
        {{"-a", reward, "-t", "1", "-T", "5", "-i", "300"}, 1200ms, 0,
         "Pool answer to the claim for 1Ab: OK!", 1},
    };
    // clang-format on
#ifndef TARWICK_TESTS_SANITIZED
    const std::vector<std::string> onDevice{"-a", reward, "-D", "0:0", "-T", "5", "-i", "300"};
    cases.push_back({onDevice, 1ms, 0, "Pool answer to the claim for 1Ab: OK!", 1});
#endif
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        std::optional<TestPool> pool(std::in_place);
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), {TARWICK_OCLVANITYMINER64, "-u", pool->url()});
        if (c.delay < 0ms) {
            pool.reset(); // the pool is gone; its port is closed
        } else {
            pool->setDelay(c.delay), pool->setWork(item);
        }
        const TempFolder dir;
        const ProgramRun run = runProgram(
            args, dir.path, {.stopWhen = [&](const std::string& out) {
                return c.accepted > 0 && contains(out, "Pool answer to the claim for 1Ab: ");
            }});
        EXPECT_EQ(run.status, c.status) << run.out;
        EXPECT_TRUE(contains(run.out, c.says)) << run.out;
        EXPECT_FALSE(contains(run.out, "Privkey: ")) << "only the requester may know the key";
        if (!pool) {
            continue;
        }
        // Only the runs that get past their options ask for work.
        EXPECT_EQ(pool->workRequests() > 0, c.delay > 0ms);
        ASSERT_EQ(pool->accepted().size(), c.accepted) << run.out;
        for (const TestPool::Accepted& claim : pool->accepted()) {
            // The claim names the key uncompressed and upper-case, and the full key a + k
            // (which only the requester can form) controls the address the pool computed.
            std::string upper = toHex(referencePublicKey(a, false));
            std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
            EXPECT_EQ(claim.publicKeyHex, upper);
            ASSERT_EQ(claim.offsetHex.size(), 64u);
            EXPECT_EQ(referenceAddress(referenceKeyPlus(a, keyFromHex(claim.offsetHex)), false),
                      claim.address);
            EXPECT_TRUE(claim.address.starts_with("1Ab") && claim.rewardAddress == reward);
            EXPECT_TRUE(
                contains(run.out, "Pattern: 1Ab\nAddress: " + claim.address + "\nPrivkeyPart: "))
                << run.out;
        }
    }
}

} // namespace
} // namespace tarwick::test
