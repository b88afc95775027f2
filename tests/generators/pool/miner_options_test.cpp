// The miner's command line as the front-end builds it, and the reward address check.

#include "pool/MinerOptions.h"
#include "pool/RewardAddress.h"

#include <gtest/gtest.h>

namespace {

using namespace tarwick::pool;
using Args = std::vector<std::string>;

// The parsed options in one line, or "refused" with the reason.
std::string parsed(const Args& args) {
    MinerOptions o;
    std::string error;
    if (!parseMinerOptions(args, o, error))
        return "refused " + error;
    return o.poolUrl + " " + o.rewardAddress + " D" + o.device + " i" +
           std::to_string(o.refetchSeconds) + " t" + std::to_string(o.threads) + " T" +
           std::to_string(o.timeoutSeconds) + (o.help ? " -h" : "");
}

TEST(MinerOptions, CommandLines) {
    const std::string address = "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm";
    EXPECT_EQ(
        parsed({"-u", "https://vanitypool.appspot.com/", "-a", address, "-D", "0:1", "-i", "300"}),
        "https://vanitypool.appspot.com/ " + address + " D0:1 i300 t0 T30");
    EXPECT_EQ(parsed({"-uhttp://127.0.0.1:1/", "-a1x", "-i5", "-t", "2", "-T3", ""}),
              "http://127.0.0.1:1/ 1x D i5 t2 T3");
    EXPECT_TRUE(parsed({"-h"}).ends_with(" -h"));
    const Args refused[] = {
        {"-a", "1x"},                                 // no pool
        {"-u", "https://p/"},                         // no address
        {"-u", "ftp://p/", "-a", "1x"},               // not HTTP
        {"-u", "https://p/", "-a", "1x", "-i", "0"},  // no interval
        {"-u", "https://p/", "-a", "1x", "-i", "5s"}, //
        {"-u", "https://p/", "-a", "1x", "-q"},       // unknown option
        {"-u", "https://p/", "-a", "1x", "1Abc"},     // patterns come from the pool
        {"-u", "https://p/", "-a"},                   // value missing
    };
    for (const auto& args : refused) {
        const std::string result = parsed(args);
        EXPECT_TRUE(result.starts_with("refused ") && result.size() > 8) << result;
    }
}

TEST(RewardAddress, P2pkhAndP2shOnly) {
    const std::pair<const char*, bool> cases[] = {
        {"1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm", true},
        {"3J98t1WpEZ73CNmQviecrnyiWrnqRhWNLy", true},
        {"", false},
        {"1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZn", false},                  // checksum
        {"1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZ0", false},                  // not Base58
        {"5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAnchuDf", false}, // a private key
        {"mipcBbFg9gMiCh81Kj8tqqdgoZub1ZJRfn", false},                  // test network
    };
    for (const auto& [address, good] : cases)
        EXPECT_EQ(rewardAddressProblem(address).empty(), good) << address;
}

} // namespace
