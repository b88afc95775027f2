// The miner's command line as the front-end builds it, and the reward address check.

#include "pool/MinerOptions.h"
#include "pool/RewardAddress.h"

#include <gtest/gtest.h>

namespace {

using namespace tarwick::pool;

TEST(MinerOptions, FrontEndCommandLine) {
    MinerOptions o;
    std::string error;
    ASSERT_TRUE(parseMinerOptions({"-u", "https://vanitypool.appspot.com/", "-a",
                                   "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm", "-D", "0:1", "-i", "300"},
                                  o, error))
        << error;
    EXPECT_EQ(o.poolUrl, "https://vanitypool.appspot.com/");
    EXPECT_EQ(o.rewardAddress, "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm");
    EXPECT_EQ(o.device, "0:1");
    EXPECT_EQ(o.refetchSeconds, 300u);
    EXPECT_EQ(o.threads, 0u);
}

TEST(MinerOptions, AttachedValuesAndExtras) {
    MinerOptions o;
    std::string error;
    ASSERT_TRUE(
        parseMinerOptions({"-uhttp://127.0.0.1:1/", "-a1x", "-i5", "-t", "2", "-T3", ""}, o, error))
        << error;
    EXPECT_EQ(o.poolUrl, "http://127.0.0.1:1/");
    EXPECT_EQ(o.refetchSeconds, 5u);
    EXPECT_EQ(o.threads, 2u);
    EXPECT_EQ(o.timeoutSeconds, 3u);
    EXPECT_EQ(o.device, "");
}

TEST(MinerOptions, Refusals) {
    const std::vector<std::vector<std::string>> bad = {
        {"-a", "1x"},                                 // no pool
        {"-u", "https://p/"},                         // no address
        {"-u", "ftp://p/", "-a", "1x"},               // not HTTP
        {"-u", "https://p/", "-a", "1x", "-i", "0"},  // no interval
        {"-u", "https://p/", "-a", "1x", "-i", "5s"}, //
        {"-u", "https://p/", "-a", "1x", "-q"},       // unknown option
        {"-u", "https://p/", "-a", "1x", "1Abc"},     // patterns come from the pool
        {"-u", "https://p/", "-a"},                   // value missing
    };
    for (const auto& args : bad) {
        MinerOptions o;
        std::string error;
        EXPECT_FALSE(parseMinerOptions(args, o, error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
    MinerOptions o;
    std::string error;
    EXPECT_TRUE(parseMinerOptions({"-h"}, o, error));
    EXPECT_TRUE(o.help);
}

TEST(RewardAddress, P2pkhAndP2shOnly) {
    EXPECT_EQ(rewardAddressProblem("1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm"), "");
    EXPECT_EQ(rewardAddressProblem("3J98t1WpEZ73CNmQviecrnyiWrnqRhWNLy"), "");
    EXPECT_NE(rewardAddressProblem(""), "");
    // One character changed: the checksum fails.
    EXPECT_NE(rewardAddressProblem("1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZn"), "");
    // Not Base58 at all.
    EXPECT_NE(rewardAddressProblem("1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZ0"), "");
    // A valid Base58Check text that is a private key (WIF), not an address.
    EXPECT_NE(rewardAddressProblem("5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAnchuDf"), "");
    // A testnet address.
    EXPECT_NE(rewardAddressProblem("mipcBbFg9gMiCh81Kj8tqqdgoZub1ZJRfn"), "");
}

} // namespace
