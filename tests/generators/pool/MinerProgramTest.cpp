// oclvanityminer64.exe started as the front-end starts it, against the local test pool,
// which checks every claim with libsecp256k1 and OpenSSL on its own.

#include "PoolVectors.h"
#include "ProgramRun.h"
#include "TestPool.h"

#include <gmock/gmock.h>
#include <optional>

namespace tarwick::test {
namespace {

using ::testing::HasSubstr;

// How the program ends on bad options, a bad reward address, a pool that is down or too slow
// for -T; a slow pool within -T is waited for, and the easy item is solved on the CPU (where -D
// names no device) and, but under AddressSanitizer (PoCL runs badly there), on OpenCL device 0:0.
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
        {{"-a", reward, "-D", "zero", "-T", "5", "-i", "300"}, 1ms, 0, "names no OpenCL device", 1},
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
                return c.accepted > 0 && out.find("Pool answer to the claim for 1Ab: ") != out.npos;
            }});
        EXPECT_EQ(run.status, c.status) << run.out;
        EXPECT_THAT(run.out, HasSubstr(c.says));
        EXPECT_THAT(run.out, ::testing::Not(
                                 HasSubstr("Privkey: "))); // the full key is the requester's alone
        if (!pool) {
            continue;
        }
        ASSERT_EQ(pool->accepted().size(), c.accepted) << run.out;
        for (const TestPool::Accepted& claim : pool->accepted()) {
            // The pool judged the address of P + k*G: P must be the requester's key, uncompressed
            // and upper-case. Only the part k is printed.
            std::string upper = toHex(referencePublicKey(a, false));
            std::ranges::transform(upper, upper.begin(), ::toupper);
            EXPECT_EQ(claim.publicKeyHex, upper);
            EXPECT_TRUE(claim.offsetHex.size() == 64u && claim.rewardAddress == reward);
            EXPECT_THAT(run.out,
                        HasSubstr("Pattern: 1Ab\nAddress: " + claim.address + "\nPrivkeyPart: "));
        }
    }
}

} // namespace
} // namespace tarwick::test
