// PatternSet's ranges against the real thing: the Base58 text of the address, computed here
// with OpenSSL's SHA-256 and a plain big-integer Base58, for random hash160 values, for values
// built to start with each pattern, and for the values on both sides of every range end.

#include "ec_reference.h"
#include "engine/match/PatternSet.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <gtest/gtest.h>
#include <openssl/sha.h>
#include <random>
#include <string>
#include <vector>

namespace {

using tarwick::engine::PatternSet;
using Hash = std::array<std::uint8_t, 20>;

const char kAlphabet[] = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";

// The address text by the book: version, hash, first four bytes of SHA-256(SHA-256(...)),
// converted by repeated division by 58.
std::string oracleAddress(std::uint8_t version, const Hash& hash) {
    std::uint8_t value[25];
    value[0] = version;
    std::copy(hash.begin(), hash.end(), value + 1);
    std::uint8_t once[32];
    std::uint8_t twice[32];
    SHA256(value, 21, once);
    SHA256(once, 32, twice);
    std::copy(twice, twice + 4, value + 21);

    std::size_t zeros = 0;
    while (zeros < 25 && value[zeros] == 0)
        ++zeros;
    std::vector<std::uint8_t> number(value + zeros, value + 25);
    std::string reversed;
    while (!number.empty()) {
        unsigned remainder = 0;
        std::vector<std::uint8_t> quotient;
        for (std::uint8_t byte : number) {
            const unsigned v = remainder * 256 + byte;
            if (!quotient.empty() || v / 58 != 0)
                quotient.push_back(static_cast<std::uint8_t>(v / 58));
            remainder = v % 58;
        }
        reversed += kAlphabet[remainder];
        number = quotient;
    }
    return std::string(zeros, '1') + std::string(reversed.rbegin(), reversed.rend());
}

bool startsWith(const std::string& address, const std::string& pattern, bool caseInsensitive) {
    if (address.size() < pattern.size())
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const auto a = static_cast<unsigned char>(address[i]);
        const auto p = static_cast<unsigned char>(pattern[i]);
        if (caseInsensitive ? std::tolower(a) != std::tolower(p) : a != p)
            return false;
    }
    return true;
}

// The decoded number of a Base58 text, as 25 bytes if it fits.
bool decode25(const std::string& text, std::uint8_t out[25]) {
    std::vector<unsigned> bytes(25, 0); // big-endian
    for (char c : text) {
        const char* at = std::find(kAlphabet, kAlphabet + 58, c);
        unsigned carry = static_cast<unsigned>(at - kAlphabet);
        for (std::size_t i = 25; i-- > 0;) {
            carry += bytes[i] * 58;
            bytes[i] = carry & 0xff;
            carry >>= 8;
        }
        if (carry != 0)
            return false;
    }
    for (int i = 0; i < 25; ++i)
        out[i] = static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]);
    return true;
}

Hash step(Hash h, int delta) {
    for (int n = 0; n < std::abs(delta); ++n) {
        for (std::size_t i = 20; i-- > 0;) {
            if (delta > 0 ? ++h[i] != 0 : h[i]-- != 0)
                break;
        }
    }
    return h;
}

class Checker {
public:
    Checker(const PatternSet& set, std::uint8_t version) : set_(set), version_(version) {}

    // One hash160: match() must say yes exactly when the address starts with some pattern,
    // and name one that it starts with. matchesExactly (Base58 in the engine) must agree with
    // the text (it is slow in sanitizer builds, so not for every pattern every time).
    void check(const Hash& h) {
        const std::string address = oracleAddress(version_, h);
        std::vector<bool> expected(set_.size());
        bool any = false;
        for (std::size_t i = 0; i < set_.size(); ++i) {
            expected[i] = startsWith(address, set_.pattern(i), set_.caseInsensitive());
            any = any || expected[i];
        }
        const auto found = set_.match(h.data());
        ASSERT_EQ(found.has_value(), any) << address;
        if (found) {
            ASSERT_LT(*found, set_.size());
            ASSERT_TRUE(expected[*found]) << address << " reported for " << set_.pattern(*found);
            ++hits_;
        }
        // Every pattern the text starts with, and on a sample of the checks some others.
        for (std::size_t i = 0; i < set_.size(); ++i) {
            const bool sampled = checked_ % 16 == 0 && (set_.size() <= 64 || i % 97 == 0);
            if (expected[i] || sampled) {
                ASSERT_EQ(set_.matchesExactly(h.data(), i), expected[i])
                    << address << " " << set_.pattern(i);
            }
        }
        ++checked_;
    }

    // Values on both sides of each range end, and some inside.
    void checkRangeEnds(std::mt19937_64& rng) {
        for (const auto& range : set_.hashRanges()) {
            for (int d : {-2, -1, 0, 1, 2}) {
                check(step(range.first, d));
                check(step(range.last, d));
            }
            Hash inside = range.first;
            for (int i = 19; i >= 12; --i)
                inside[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(rng());
            check(inside);
        }
    }

    // Hash160s of texts made to start with each pattern (any case spelling), padded with
    // random characters to the text lengths an address can have.
    void checkBuiltFromPatterns(std::mt19937_64& rng, int perPattern) {
        for (std::size_t i = 0; i < set_.size(); ++i) {
            for (int n = 0; n < perPattern; ++n) {
                std::string text = set_.pattern(i);
                if (set_.caseInsensitive())
                    for (char& c : text) {
                        const auto u = static_cast<unsigned char>(c);
                        char flipped =
                            static_cast<char>(rng() & 1 ? std::toupper(u) : std::tolower(u));
                        if (std::find(kAlphabet, kAlphabet + 58, flipped) != kAlphabet + 58)
                            c = flipped;
                    }
                const std::size_t length = 33 + rng() % 3;
                while (text.size() < length)
                    text += kAlphabet[rng() % 58];
                std::uint8_t value[25];
                if (!decode25(text, value) || value[0] != version_)
                    continue;
                Hash h;
                std::copy(value + 1, value + 21, h.begin());
                check(h);
            }
        }
    }

    void checkRandom(std::mt19937_64& rng, int count) {
        for (int n = 0; n < count; ++n) {
            Hash h;
            for (auto& b : h)
                b = static_cast<std::uint8_t>(rng());
            // Leading zero bytes give leading '1's: make them common.
            const auto zeros = static_cast<std::size_t>(rng() % 8 == 0 ? rng() % 5 : 0);
            std::fill(h.begin(), h.begin() + static_cast<std::ptrdiff_t>(zeros), 0);
            check(h);
        }
    }

    int hits() const { return hits_; }
    int checked() const { return checked_; }

private:
    const PatternSet& set_;
    std::uint8_t version_;
    int hits_ = 0;
    int checked_ = 0;
};

PatternSet buildQuietly(const std::vector<std::string>& patterns, bool caseInsensitive,
                        std::uint8_t version = 0) {
    std::vector<std::string> warnings;
    PatternSet set = PatternSet::build(patterns, caseInsensitive, version, warnings);
    for (const auto& warning : warnings)
        ADD_FAILURE() << warning;
    return set;
}

TEST(PatternSet, DifficultyTableAsVanitygenPrintsIt) {
    const std::pair<const char*, double> table[] = {
        {"1A", 22},         {"1s", 1353},      {"1Ab", 1330},     {"1ss", 78508},
        {"1Abc", 77178},    {"1Xyz", 4553521}, {"1bit", 4553521}, {"1Love", 4476342},
        {"1111", 16777216}, {"1112", 364829},
    };
    for (const auto& [pattern, difficulty] : table)
        EXPECT_EQ(buildQuietly({pattern}, false).difficulty(), difficulty) << pattern;
}

TEST(PatternSet, DifficultyOfSeveralPatternsAndOfCaseVariants) {
    // Disjoint patterns add their chances: 1/D = 1/22 + 1/1353 (rounded down at the end).
    const double both = buildQuietly({"1A", "1s"}, false).difficulty();
    EXPECT_NEAR(both, 1.0 / (1.0 / 22.942 + 1.0 / 1353.6), 1.0);
    // A pattern inside another adds nothing.
    EXPECT_EQ(buildQuietly({"1A", "1Ab"}, false).difficulty(), 22);
    // Case-insensitive: the union of the spellings is easier than either one.
    const double folded = buildQuietly({"1ab"}, true).difficulty();
    EXPECT_LT(folded, buildQuietly({"1ab"}, false).difficulty());
    EXPECT_LT(folded, buildQuietly({"1Ab"}, false).difficulty());
    EXPECT_EQ(PatternSet().difficulty(), 0);
}

TEST(PatternSet, CaseSensitiveRangesAgreeWithBase58) {
    const PatternSet set =
        buildQuietly({"1A", "1Ab", "1z", "11", "111", "1111", "1112", "1Love", "1bit", "12", "1QQ",
                      "1zzzz", "11A", "11z", "1111z", "1abcdef"},
                     false);
    ASSERT_EQ(set.size(), 16u);
    auto rng = tarwick::test::randomEngine(1);
    Checker checker(set, 0);
    checker.checkRandom(rng, 4000);
    checker.checkBuiltFromPatterns(rng, 60);
    checker.checkRangeEnds(rng);
    EXPECT_GT(checker.hits(), 1000);
}

TEST(PatternSet, CaseInsensitiveRangesAgreeWithBase58) {
    const PatternSet set =
        buildQuietly({"1abc", "1LOVE", "1iol", "1zz", "1Q", "11x", "1kKkK", "1Ii"}, true);
    ASSERT_EQ(set.size(), 8u);
    auto rng = tarwick::test::randomEngine(2);
    Checker checker(set, 0);
    checker.checkRandom(rng, 4000);
    checker.checkBuiltFromPatterns(rng, 60);
    checker.checkRangeEnds(rng);
    EXPECT_GT(checker.hits(), 300);
}

TEST(PatternSet, OtherVersionBytes) {
    auto rng = tarwick::test::randomEngine(3);
    struct Case {
        std::uint8_t version;
        std::vector<std::string> patterns;
    };
    const Case cases[] = {
        // Texts run from 31h1... to 3R2c..., mfWx... to n4rZ..., MvaN... to NKuy...,
        // 2mcB... to 2n1X...
        {5, {"3", "3A", "3Ab", "3Q", "36", "3R"}},
        {111, {"m", "n", "mz", "n1", "mgb", "n4"}},
        {52, {"M", "N", "N5", "Mz"}},
        {255, {"2m", "2n", "2mz", "2mcz"}},
    };
    for (const auto& c : cases) {
        const PatternSet set = buildQuietly(c.patterns, false, c.version);
        ASSERT_EQ(set.size(), c.patterns.size());
        Checker checker(set, c.version);
        checker.checkRandom(rng, 500);
        checker.checkBuiltFromPatterns(rng, 25);
        checker.checkRangeEnds(rng);
        EXPECT_GT(checker.hits(), 100) << int(c.version);
    }
}

TEST(PatternSet, LongPrefixesAreDecidedByTheRealChecksum) {
    auto rng = tarwick::test::randomEngine(4);
    for (int round = 0; round < 40; ++round) {
        Hash h;
        for (auto& b : h)
            b = static_cast<std::uint8_t>(rng());
        const std::string address = oracleAddress(0, h);
        // Cut so that the prefix fixes the hash (and part of the checksum) or almost.
        for (std::size_t cut : {address.size(), address.size() - 1, address.size() - 3,
                                address.size() - 5, address.size() - 6}) {
            const PatternSet set = buildQuietly({address.substr(0, cut)}, false);
            ASSERT_EQ(set.size(), 1u);
            Checker checker(set, 0);
            checker.check(h);
            ASSERT_EQ(checker.hits(), 1) << address.substr(0, cut);
            checker.checkRangeEnds(rng);
        }
        // The full text with its last character changed: the checksum no longer fits.
        std::string wrong = address;
        wrong.back() = wrong.back() == 'z' ? 'y' : 'z';
        std::vector<std::string> warnings;
        const PatternSet none = PatternSet::build({wrong}, false, 0, warnings);
        EXPECT_TRUE(none.empty());
        ASSERT_EQ(warnings.size(), 2u);
        EXPECT_EQ(warnings[0], "Prefix '" + wrong + "' not possible");
    }
}

TEST(PatternSet, WarningsForUnusablePatterns) {
    std::vector<std::string> warnings;
    const PatternSet set = PatternSet::build(
        {"1Ab ", "1Ab", "2abc", "10", "1O", "1l", "1I", "", "1Ab", "1" + std::string(40, 'z')},
        false, 0, warnings);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set.pattern(0), "1Ab");
    const std::vector<std::string> expected = {
        "Invalid character ' ' in prefix '1Ab '",
        "Prefix '2abc' not possible",
        "Invalid character '0' in prefix '10'",
        "Invalid character 'O' in prefix '1O'",
        "Invalid character 'l' in prefix '1l'",
        "Invalid character 'I' in prefix '1I'",
        "Empty prefix ignored",
        "Prefix '1Ab' ignored, duplicate of '1Ab'",
        "Prefix '1" + std::string(40, 'z') + "' not possible",
    };
    EXPECT_EQ(warnings, expected);
}

TEST(PatternSet, PrefixesOutsideTheVersionsTextsAreNotPossible) {
    std::vector<std::string> warnings;
    const PatternSet set =
        PatternSet::build({"3zz", "3S", "31h", "mAb", "n5", "2n2"}, false, 5, warnings);
    EXPECT_EQ(set.size(), 1u);
    EXPECT_EQ(set.pattern(0), "31h");
    EXPECT_EQ(warnings,
              (std::vector<std::string>{"Prefix '3zz' not possible", "Prefix '3S' not possible",
                                        "Prefix 'mAb' not possible", "Prefix 'n5' not possible",
                                        "Prefix '2n2' not possible"}));
}

TEST(PatternSet, HintWhenNothingIsUsable) {
    std::vector<std::string> warnings;
    EXPECT_TRUE(PatternSet::build({"2abc", "3x"}, false, 0, warnings).empty());
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_EQ(warnings[2], "Hint: valid bitcoin addresses begin with \"1\"");
    warnings.clear();
    EXPECT_TRUE(PatternSet::build({"1abc"}, false, 111, warnings).empty());
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[1], "Hint: valid addresses of version 111 begin with \"m\" or \"n\"");
}

TEST(PatternSet, CaseFoldingRules) {
    std::vector<std::string> warnings;
    // With -i the letters missing from the alphabet stand for their other case; digits and
    // other characters are still checked.
    const PatternSet set = PatternSet::build({"1lio", "1LIO", "1a0"}, true, 0, warnings);
    EXPECT_EQ(set.size(), 1u); // both spell "1Lio", the only reading in the alphabet
    EXPECT_EQ(warnings, (std::vector<std::string>{"Prefix '1LIO' ignored, duplicate of '1lio'",
                                                  "Invalid character '0' in prefix '1a0'"}));
    warnings.clear();
    const PatternSet many = PatternSet::build({"1abcdefghjkmnpqrstu"}, true, 0, warnings);
    EXPECT_TRUE(many.empty());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0],
              "Prefix '1abcdefghjkmnpqrstu' has 2^18 case variants, too many to search");
}

TEST(PatternSet, OverlappingPatternsReportTheNarrowestAndRemoveShiftsIndices) {
    PatternSet set = buildQuietly({"1A", "1Ab", "1z"}, false);
    auto rng = tarwick::test::randomEngine(5);
    // Find hashes whose addresses start with 1Ab, 1A (not 1Ab) and 1z.
    Hash ab{}, a{}, z{};
    bool haveAb = false, haveA = false, haveZ = false;
    while (!(haveAb && haveA && haveZ)) {
        Hash h;
        for (auto& b : h)
            b = static_cast<std::uint8_t>(rng());
        const std::string address = oracleAddress(0, h);
        if (address.rfind("1Ab", 0) == 0)
            ab = h, haveAb = true;
        else if (address.rfind("1A", 0) == 0)
            a = h, haveA = true;
        else if (address.rfind("1z", 0) == 0)
            z = h, haveZ = true;
    }
    EXPECT_EQ(set.match(ab.data()), 1u);
    EXPECT_EQ(set.match(a.data()), 0u);
    EXPECT_EQ(set.match(z.data()), 2u);

    set.remove(1); // 1Ab found: 1A now reports it, 1z moves to index 1
    ASSERT_EQ(set.size(), 2u);
    EXPECT_EQ(set.pattern(1), "1z");
    EXPECT_EQ(set.match(ab.data()), 0u);
    EXPECT_EQ(set.match(z.data()), 1u);
    EXPECT_EQ(set.difficulty(), buildQuietly({"1A", "1z"}, false).difficulty());

    set.remove(0);
    set.remove(0);
    EXPECT_TRUE(set.empty());
    EXPECT_FALSE(set.match(ab.data()).has_value());
    EXPECT_FALSE(set.match(z.data()).has_value());
}

TEST(PatternSet, ManyPatternsAgreeWithBase58) {
    // Enough ranges that the rejection table has to grow finer.
    auto rng = tarwick::test::randomEngine(7);
    std::vector<std::string> patterns;
    for (int i = 0; i < 1000; ++i) {
        std::string p = "1";
        const std::size_t length = 2 + rng() % 4;
        while (p.size() < length)
            p += kAlphabet[1 + rng() % 57];
        if (std::find(patterns.begin(), patterns.end(), p) == patterns.end())
            patterns.push_back(p);
    }
    std::vector<std::string> warnings;
    const PatternSet set = PatternSet::build(patterns, false, 0, warnings);
    // Overlaps are kept; only identical ones and impossible ones go.
    EXPECT_EQ(set.size() + warnings.size(), patterns.size());
    for (const auto& warning : warnings)
        EXPECT_NE(warning.find("not possible"), std::string::npos) << warning;
    Checker checker(set, 0);
    checker.checkRandom(rng, 1000);
    checker.checkBuiltFromPatterns(rng, 1);
    EXPECT_GT(checker.hits(), 300);
}

TEST(PatternSet, EverythingPatternMatchesAll) {
    const PatternSet set = buildQuietly({"1"}, false);
    EXPECT_EQ(set.difficulty(), 1);
    auto rng = tarwick::test::randomEngine(6);
    Checker checker(set, 0);
    checker.checkRandom(rng, 200);
    EXPECT_EQ(checker.hits(), 200);
}

} // namespace
