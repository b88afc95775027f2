// PatternSet's ranges against the address text itself (OpenSSL's Base58Check), for random
// hash160 values, for values built to start with each pattern, and for the values on both
// sides of every range end.

#include "ec_reference.h"
#include "engine/match/PatternSet.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

namespace {

using tarwick::engine::PatternSet;
using Hash = std::array<std::uint8_t, 20>;
using Texts = std::vector<std::string>;
using Ranges = std::vector<PatternSet::HashRange>;

const std::string kAlphabet = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";

std::string addressOf(std::uint8_t version, const Hash& hash) {
    tarwick::test::Bytes payload(21, version);
    std::copy(hash.begin(), hash.end(), payload.begin() + 1);
    return tarwick::test::referenceBase58CheckEncode(payload);
}

bool startsWith(const std::string& address, const std::string& pattern, bool caseInsensitive) {
    return address.size() >= pattern.size() &&
           std::equal(pattern.begin(), pattern.end(), address.begin(), [&](char p, char a) {
               return caseInsensitive ? std::tolower(p) == std::tolower(a) : p == a;
           });
}

// The 25-byte number a Base58 text spells (checksum or not), if it fits.
std::optional<std::array<std::uint8_t, 25>> decode25(const std::string& text) {
    std::array<std::uint8_t, 25> bytes{};
    for (char c : text) {
        unsigned carry = static_cast<unsigned>(kAlphabet.find(c));
        for (std::size_t i = 25; i-- > 0; carry >>= 8) {
            carry += bytes[i] * 58u;
            bytes[i] = static_cast<std::uint8_t>(carry);
        }
        if (carry != 0)
            return std::nullopt;
    }
    return bytes;
}

Hash step(Hash h, int delta) {
    for (int n = 0; n < std::abs(delta); ++n)
        for (std::size_t i = 20; i-- > 0;)
            if (delta > 0 ? ++h[i] != 0 : h[i]-- != 0)
                break;
    return h;
}

Hash randomHash(std::mt19937_64& rng) {
    Hash h;
    for (auto& b : h)
        b = static_cast<std::uint8_t>(rng());
    return h;
}

// Checks hashes of one set against the address text: match() says yes exactly when the
// address starts with some pattern, and names the narrowest (longest) one it starts with.
struct Checker {
    const PatternSet& set;
    std::uint8_t version;
    int hits = 0;

    void check(const Hash& h) {
        const std::string address = addressOf(version, h);
        std::optional<std::size_t> narrowest;
        for (std::size_t i = 0; i < set.size(); ++i)
            if (startsWith(address, set.pattern(i), set.caseInsensitive()) &&
                (!narrowest || set.pattern(i).size() > set.pattern(*narrowest).size()))
                narrowest = i;
        const auto found = set.match(h.data());
        ASSERT_EQ(found.has_value(), narrowest.has_value()) << address;
        if (found) {
            ASSERT_TRUE(*found < set.size() && set.matchesExactly(h.data(), *found)) << address;
            ASSERT_TRUE(startsWith(address, set.pattern(*found), set.caseInsensitive()));
            ASSERT_EQ(set.pattern(*found).size(), set.pattern(*narrowest).size()) << address;
            ++hits;
        }
    }

    // Random hashes (leading zero bytes, which give leading '1's, made common); the values on
    // both sides of every range end and one inside; hashes of texts made to start with each
    // pattern (any case spelling), padded to the lengths an address can have.
    void checkAll(std::mt19937_64& rng, int random, int perPattern, bool rangeEnds = true) {
        for (int n = 0; n < random; ++n) {
            Hash h = randomHash(rng);
            std::fill_n(h.begin(), rng() % 8 == 0 ? rng() % 5 : 0, 0);
            check(h);
        }
        for (const auto& range : rangeEnds ? set.hashRanges() : Ranges{}) {
            for (int d : {-2, -1, 0, 1, 2}) {
                check(step(range.first, d));
                check(step(range.last, d));
            }
            Hash inside = range.first;
            for (std::size_t i = 12; i < 20; ++i)
                inside[i] = static_cast<std::uint8_t>(rng());
            check(inside);
        }
        for (std::size_t i = 0; i < set.size(); ++i)
            for (int n = 0; n < perPattern; ++n) {
                std::string text = set.pattern(i);
                for (char& c : text) {
                    const char flipped =
                        static_cast<char>(rng() & 1 ? std::toupper(c) : std::tolower(c));
                    if (set.caseInsensitive() && kAlphabet.find(flipped) != std::string::npos)
                        c = flipped;
                }
                for (const std::size_t length = 33 + rng() % 3; text.size() < length;)
                    text += kAlphabet[rng() % 58];
                const auto value = decode25(text);
                if (!value || (*value)[0] != version)
                    continue;
                Hash h;
                std::copy(value->begin() + 1, value->begin() + 21, h.begin());
                check(h);
            }
    }
};

PatternSet build(const Texts& patterns, bool caseInsensitive, std::uint8_t version = 0) {
    Texts warnings;
    PatternSet set = PatternSet::build(patterns, caseInsensitive, version, warnings);
    EXPECT_EQ(warnings, Texts{});
    return set;
}

TEST(PatternSet, DifficultyAsVanitygenPrintsIt) {
    struct Case {
        Texts patterns;
        double difficulty;
    };
    // clang-format off
    const Case cases[] = {
        {{"1A"}, 22}, {{"1s"}, 1353}, {{"1Ab"}, 1330}, {{"1ss"}, 78508}, {{"1Abc"}, 77178},
        {{"1Xyz"}, 4553521}, {{"1bit"}, 4553521}, {{"1Love"}, 4476342}, {{"1111"}, 16777216},
        {{"1112"}, 364829}, {{"1"}, 1},
        {{"1A", "1s"}, 22},  // disjoint patterns add their chances: 1/(1/22.94 + 1/1353.6)
        {{"1A", "1Ab"}, 22}, // a pattern inside another adds nothing
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(build(c.patterns, false).difficulty(), c.difficulty) << c.patterns.back();
    // Case-insensitive: the union of the spellings is easier than either one.
    const double folded = build({"1ab"}, true).difficulty();
    EXPECT_LT(folded, build({"1ab"}, false).difficulty());
    EXPECT_LT(folded, build({"1Ab"}, false).difficulty());
}

// Prefixes of random addresses so long that they fix the hash (and part of the checksum) or
// almost: only the real checksum decides. (Cuts of one address would be duplicates.)
Texts longPrefixes(std::mt19937_64& rng, int count) {
    const std::size_t cuts[] = {0, 1, 3, 5, 6};
    Texts patterns;
    for (int i = 0; i < count; ++i) {
        const std::string address = addressOf(0, randomHash(rng));
        patterns.push_back(address.substr(0, address.size() - cuts[i % 5]));
    }
    return patterns;
}

Texts randomPatterns(std::mt19937_64& rng, int count) {
    Texts patterns;
    for (int i = 0; i < count; ++i) {
        std::string p = "1";
        for (std::size_t length = 2 + rng() % 4; p.size() < length;)
            p += kAlphabet[1 + rng() % 57];
        if (std::find(patterns.begin(), patterns.end(), p) == patterns.end())
            patterns.push_back(p);
    }
    return patterns;
}

TEST(PatternSet, RangesAgreeWithBase58) {
    std::mt19937_64 rng(1);
    struct Case {
        std::uint8_t version;
        bool caseInsensitive;
        Texts patterns;
        int random, perPattern, minHits;
        const char* name;
        bool someImpossible = false; // random patterns: a few fit no address
    };
    // Version texts run from 31h1... to 3R2c..., mfWx... to n4rZ..., MvaN... to NKuy...,
    // 2mcB... to 2n1X...
    // clang-format off
    const Case cases[] = {
        {0, false, {"1A", "1Ab", "1z", "11", "111", "1111", "1112", "1Love", "1bit", "12", "1QQ",
                    "1zzzz", "11A", "11z", "1111z", "1abcdef"}, 4000, 60, 1000, "case-sensitive"},
        {0, true, {"1abc", "1LOVE", "1iol", "1zz", "1Q", "11x", "1kKkK", "1Ii"}, 4000, 60, 300,
         "case-insensitive"},
        {5, false, {"3", "3A", "3Ab", "3Q", "36", "3R"}, 500, 25, 100, "version 5"},
        {111, false, {"m", "n", "mz", "n1", "mgb", "n4"}, 500, 25, 100, "version 111"},
        {52, false, {"M", "N", "N5", "Mz"}, 500, 25, 100, "version 52"},
        {255, false, {"2m", "2n", "2mz", "2mcz"}, 500, 25, 100, "version 255"},
        {0, false, {"1"}, 200, 0, 200, "everything"},
        // Enough ranges that the rejection table has to grow finer; overlaps are kept.
        {0, false, longPrefixes(rng, 100), 0, 1, 20, "long prefixes"},
        {0, false, randomPatterns(rng, 1000), 1000, 1, 300, "many", true},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Texts warnings;
        const PatternSet set =
            PatternSet::build(c.patterns, c.caseInsensitive, c.version, warnings);
        ASSERT_EQ(set.size() + warnings.size(), c.patterns.size());
        for (const auto& warning : warnings)
            EXPECT_TRUE(c.someImpossible && warning.ends_with("not possible")) << warning;
        Checker checker{set, c.version};
        // The many row's thousands of range ends would only add time.
        checker.checkAll(rng, c.random, c.perPattern, !c.someImpossible);
        EXPECT_GE(checker.hits, c.minHits);
    }
}

TEST(PatternSet, WarningsForUnusablePatterns) {
    const std::string tooLong = "1" + std::string(40, 'z');
    struct Case {
        Texts patterns;
        bool caseInsensitive;
        std::uint8_t version;
        Texts kept, warnings;
    };
    // clang-format off
    const Case cases[] = {
        {{"1Ab ", "1Ab", "2abc", "10", "1O", "1l", "1I", "", "1Ab", tooLong}, false, 0, {"1Ab"},
         {"Invalid character ' ' in prefix '1Ab '", "Prefix '2abc' not possible",
          "Invalid character '0' in prefix '10'", "Invalid character 'O' in prefix '1O'",
          "Invalid character 'l' in prefix '1l'", "Invalid character 'I' in prefix '1I'",
          "Empty prefix ignored", "Prefix '1Ab' ignored, duplicate of '1Ab'",
          "Prefix '" + tooLong + "' not possible"}},
        {{"3zz", "3S", "31h", "mAb", "n5", "2n2"}, false, 5, {"31h"},
         {"Prefix '3zz' not possible", "Prefix '3S' not possible", "Prefix 'mAb' not possible",
          "Prefix 'n5' not possible", "Prefix '2n2' not possible"}},
        {{"2abc", "3x"}, false, 0, {}, {"Prefix '2abc' not possible", "Prefix '3x' not possible",
                                        "Hint: valid bitcoin addresses begin with \"1\""}},
        {{"1abc"}, false, 111, {},
         {"Prefix '1abc' not possible",
          "Hint: valid addresses of version 111 begin with \"m\" or \"n\""}},
        // With -i the letters missing from the alphabet stand for their other case: both
        // spell "1Lio". Digits are still checked.
        {{"1lio", "1LIO", "1a0"}, true, 0, {"1lio"},
         {"Prefix '1LIO' ignored, duplicate of '1lio'", "Invalid character '0' in prefix '1a0'"}},
        // The full text of an address with its last character changed: the checksum fails.
        {{"1BgGZ9tcN4rm9KBzDn7KprQz87SZ26SAMz"}, false, 0, {},
         {"Prefix '1BgGZ9tcN4rm9KBzDn7KprQz87SZ26SAMz' not possible",
          "Hint: valid bitcoin addresses begin with \"1\""}},
        {{"1abcdefghjkmnpqrstu"}, true, 0, {},
         {"Prefix '1abcdefghjkmnpqrstu' has 2^18 case variants, too many to search"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        Texts warnings;
        const PatternSet set =
            PatternSet::build(c.patterns, c.caseInsensitive, c.version, warnings);
        Texts kept;
        for (std::size_t i = 0; i < set.size(); ++i)
            kept.push_back(set.pattern(i));
        EXPECT_EQ(kept, c.kept) << c.patterns[0];
        EXPECT_EQ(warnings, c.warnings) << c.patterns[0];
    }
}

TEST(PatternSet, RemoveShiftsIndicesAndRebuildsTheRanges) {
    PatternSet set = build({"1A", "1Ab", "1z"}, false);
    const Hash matched = set.hashRanges().front().first;
    set.remove(1); // 1Ab found: 1A now reports it, 1z moves to index 1
    EXPECT_EQ(set.pattern(1), "1z");
    std::mt19937_64 rng(5);
    Checker checker{set, 0};
    checker.checkAll(rng, 1000, 60);
    EXPECT_GT(checker.hits, 100);
    EXPECT_EQ(set.difficulty(), build({"1A", "1z"}, false).difficulty());
    set.remove(0);
    set.remove(0);
    EXPECT_TRUE(set.empty());
    EXPECT_EQ(set.difficulty(), 0);
    EXPECT_FALSE(set.match(matched.data()).has_value());
}

} // namespace
