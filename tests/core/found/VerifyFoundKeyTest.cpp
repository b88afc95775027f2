#include "core/found/VerifyFoundKey.h"

#include "ValidKeys.h"
#include "core/keys/BitcoinKey.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

using testing::kAb1;
using testing::kAb2;
using testing::kAbUncompressed;

struct Case {
    const char* name;
    FoundKeyRecord record;
    SearchedPatterns searched;
    std::optional<std::string> failure;
};

FoundKeyRecord recordOf(const testing::ValidKey& key) {
    return {std::string(key.pattern), std::string(key.address), std::string(key.key)};
}

FoundKeyRecord withKey(FoundKeyRecord record, std::string key) {
    record.privateKey = std::move(key);
    return record;
}

FoundKeyRecord withPattern(FoundKeyRecord record, std::string pattern) {
    record.pattern = std::move(pattern);
    return record;
}

const SearchedPatterns kAb{false, {"1Ab"}};

TEST(VerifyFoundKey, KeyMustGiveTheAddressOfASearchedPattern) {
    const std::string wrongChecksum = std::string(kAb1.key).replace(kAb1.key.size() - 1, 1, "t");
    const Case cases[] = {
        {"compressed", recordOf(kAb1), kAb, std::nullopt},
        {"uncompressed", recordOf(kAbUncompressed), kAb, std::nullopt},
        // Secret 1, as published widely: an oracle independent of our generators.
        {"secret 1 compressed",
         {"1Bg", "1BgGZ9tcN4rm9KBzDn7KprQz87SZ26SAMH",
          "KwDiBf89QgGbjEhKnhXJuH7LrciVrZi3qYjgd9M7rFU73sVHnoWn"},
         {false, {"1Bg"}},
         std::nullopt},
        {"secret 1 uncompressed",
         {"1EHN", "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm",
          "5HpHagT65TZzG1PH3CSu63k8DbpvD8s5ip4nEB3kEsreAnchuDf"},
         {false, {"1EHN"}},
         std::nullopt},
        {"wrong key", withKey(recordOf(kAb1), std::string(kAb2.key)), kAb,
         "the private key is not the key of this address"},
        {"wrong checksum", withKey(recordOf(kAb1), wrongChecksum), kAb,
         "the private key's checksum is wrong"},
        {"not a key", withKey(recordOf(kAb1), "5KFirst"), kAb, "the private key is not a WIF key"},
        {"pattern mismatch",
         withPattern(recordOf(kAb1), "1Cd"),
         {false, {"1Ab", "1Cd"}},
         "the address does not begin with the pattern 1Cd"},
        {"case differs",
         withPattern(recordOf(kAb1), "1ab"),
         {false, {"1ab"}},
         "the address does not begin with the pattern 1ab"},
        {"case-insensitive run", withPattern(recordOf(kAb1), "1ab"), {true, {"1AB"}}, std::nullopt},
        {"pattern not searched",
         recordOf(kAb1),
         {false, {"1Cd"}},
         "the pattern 1Ab was not searched by the run"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WhyFoundKeyFails(c.record, &c.searched), c.failure) << c.name;
    const auto decoded = DecodeWif(kAb1.key);
    ASSERT_TRUE(std::holds_alternative<WifKey>(decoded));
    EXPECT_EQ(EncodeWif(std::get<WifKey>(decoded)), kAb1.key);
    EXPECT_EQ(WhyFoundKeyFails(recordOf(kAb1), nullptr),
              "the patterns of the run that wrote it are unknown");
}

TEST(VerifyFoundKey, RunPatternsFileReadsBackWhatWasWritten) {
    const SearchedPatterns written{true, {"1Ab", "1Cd"}};
    SearchedPatterns read;
    EXPECT_TRUE(ParseRunPatternsFile(RunPatternsFileText(written), read));
    EXPECT_EQ(read, written);
    EXPECT_FALSE(ParseRunPatternsFile("1Ab\n", read));
    EXPECT_EQ(PatternsOfText("1Ab\r\r\n\r\nxyz\n1Cd"), (std::vector<std::string>{"1Ab", "1Cd"}));
}

} // namespace
} // namespace tarwick
