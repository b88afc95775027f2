// PatternSet's ranges against OpenSSL's Base58Check address text: random hashes, hashes built
// to start with each pattern, both sides of every range end; its difficulty and its warnings.

#include "engine/match/PatternSet.h"

#include "EcReference.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace tarwick::engine {
namespace {

using Hash = std::array<std::uint8_t, 20>;
using Texts = std::vector<std::string>;

const std::string kAlphabet = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";

// The hash in the 25-byte number a Base58 text spells (checksum or not), when it fits and has
// this version.
std::optional<Hash> hashSpelled(const std::string& text, std::uint8_t version) {
    std::array<std::uint8_t, 25> bytes{};
    for (char c : text) {
        unsigned carry = static_cast<unsigned>(kAlphabet.find(c));
        for (std::size_t i = 25; i-- > 0; carry >>= 8) {
            bytes[i] = static_cast<std::uint8_t>(carry += bytes[i] * 58u);
        }
        if (carry != 0) {
            return std::nullopt;
        }
    }
    Hash h;
    std::copy(bytes.begin() + 1, bytes.begin() + 21, h.begin());
    return bytes[0] == version ? std::optional(h) : std::nullopt;
}

Hash step(Hash h, int delta) { // h + delta, wrapping around
    for (int n = 0, i = 19; n < std::abs(delta); ++n, i = 19) {
        while (i >= 0 && (delta > 0 ? ++h[i] == 0 : h[i]-- == 0)) {
            --i;
        }
    }
    return h;
}

// match() says yes exactly when the address starts with some pattern, and names the
// narrowest (longest) one it starts with. Returns whether it matched.
bool check(const PatternSet& set, std::uint8_t version, const Hash& h) {
    const std::string address = test::referenceAddressOfHash(version, h.data());
    const auto same = [&](char a, char b) {
        return set.caseInsensitive() ? std::tolower(a) == std::tolower(b) : a == b;
    };
    const auto starts = [&](std::size_t i) {
        return std::ranges::equal(address.substr(0, set.pattern(i).size()), set.pattern(i), same);
    };
    std::size_t narrowest = 0;
    for (std::size_t i = 0; i < set.size(); ++i) {
        narrowest = starts(i) ? std::max(narrowest, set.pattern(i).size()) : narrowest;
    }
    const auto found = set.match(h.data());
    EXPECT_EQ(found.has_value(), narrowest > 0) << address;
    EXPECT_TRUE(!found || (*found < set.size() && set.matchesExactly(h.data(), *found) &&
                           starts(*found) && set.pattern(*found).size() == narrowest))
        << address;
    return found.has_value();
}

TEST(PatternSet, RangesAgreeWithBase58) {
    auto rng = test::randomEngine(1);
    const auto randomHash = [&] {
        Hash h;
        for (auto& b : h) {
            b = static_cast<std::uint8_t>(rng());
        }
        // Leading zero bytes, which give leading '1's, made common.
        std::fill_n(h.begin(), rng() % 8 == 0 ? rng() % 5 : 0, 0);
        return h;
    };
    // Prefixes of random addresses so long that only the real checksum decides; enough ranges
    // that the rejection table has to grow finer.
    Texts longPrefixes;
    for (std::size_t i = 0; i < 100; ++i) {
        const std::string address = test::referenceAddressOfHash(0, randomHash().data());
        longPrefixes.push_back(
            address.substr(0, address.size() - std::array{0, 1, 3, 5, 6}[i % 5]));
    }
    struct Case {
        std::uint8_t version;
        bool caseInsensitive;
        Texts patterns;
        int random, perPattern, minHits;
    };
    // Version texts run from 31h1... to 3R2c..., mfWx... to n4rZ..., 2mcB... to 2n1X...
    // clang-format off
    const Case cases[] = {
        {0, false, {"1A", "1Ab", "1z", "11", "111", "1111", "1112", "1Love", "1bit", "12", "1QQ",
                    "1zzzz", "11A", "11z", "1111z", "1abcdef"}, 4000, 60, 1000},
        {0, true, {"1abc", "1LOVE", "1iol", "1zz", "1Q", "11x", "1kKkK", "1Ii"}, 4000, 60, 300},
        {5, false, {"3", "3A", "3Ab", "3Q", "36", "3R"}, 500, 25, 100},
        {111, false, {"m", "n", "mz", "n1", "mgb", "n4"}, 500, 25, 100},
        {255, false, {"2m", "2n", "2mz", "2mcz"}, 500, 25, 100},
        {0, false, {"1"}, 200, 0, 200},
        {0, false, longPrefixes, 0, 1, 20},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.patterns[0]);
        Texts warnings;
        const PatternSet set =
            PatternSet::build(c.patterns, c.caseInsensitive, c.version, warnings);
        ASSERT_EQ(warnings, Texts{});
        int hits = 0;
        for (int n = 0; n < c.random; ++n) {
            hits += check(set, c.version, randomHash());
        }
        // Both sides of every range end, and one value inside.
        for (const auto& range : set.hashRanges()) {
            for (int d : {-2, -1, 0, 1, 2}) {
                hits += check(set, c.version, step(range.first, d)) +
                        check(set, c.version, step(range.last, d));
            }
            Hash inside = range.first;
            std::generate(inside.begin() + 12, inside.end(), [&] { return std::uint8_t(rng()); });
            hits += check(set, c.version, inside);
        }
        // Texts made to start with each pattern (any case spelling), padded to the lengths an
        // address can have.
        for (std::size_t i = 0; i < set.size(); ++i) {
            for (int n = 0; n < c.perPattern; ++n) {
                std::string text = set.pattern(i);
                for (char& ch : text) {
                    const char flipped =
                        static_cast<char>(rng() & 1 ? std::toupper(ch) : std::tolower(ch));
                    if (set.caseInsensitive() && kAlphabet.find(flipped) != std::string::npos) {
                        ch = flipped;
                    }
                }
                for (const std::size_t length = 33 + rng() % 3; text.size() < length;) {
                    text += kAlphabet[rng() % 58];
                }
                if (const auto h = hashSpelled(text, c.version)) {
                    hits += check(set, c.version, *h);
                }
            }
        }
        EXPECT_GE(hits, c.minHits);
    }
}

TEST(PatternSet, DifficultyAsVanitygenPrintsIt) {
    const auto difficulty = [](const Texts& patterns, bool caseInsensitive = false) {
        Texts warnings;
        return PatternSet::build(patterns, caseInsensitive, 0, warnings).difficulty();
    };
    // Disjoint patterns add their chances (1/(1/22.94 + 1/1353.6)); one inside another adds
    // nothing.
    // clang-format off
    const std::pair<Texts, double> cases[] = {
        {{"1A"}, 22}, {{"1s"}, 1353}, {{"1Ab"}, 1330}, {{"1ss"}, 78508}, {{"1Abc"}, 77178},
        {{"1Xyz"}, 4553521}, {{"1bit"}, 4553521}, {{"1Love"}, 4476342}, {{"1111"}, 16777216},
        {{"1112"}, 364829}, {{"1"}, 1}, {{}, 0}, {{"1A", "1s"}, 22}, {{"1A", "1Ab"}, 22}};
    // clang-format on
    for (const auto& [patterns, expected] : cases) {
        EXPECT_EQ(difficulty(patterns), expected) << testing::PrintToString(patterns);
    }
    // Case-insensitive: the union of the spellings is easier than either one.
    EXPECT_LT(difficulty({"1ab"}, true), std::min(difficulty({"1ab"}), difficulty({"1Ab"})));
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
        {{"1Ab ", "1Ab", "2abc", "10", "1O", "", "1Ab", tooLong}, false, 0, {"1Ab"},
         {"Invalid character ' ' in prefix '1Ab '", "Prefix '2abc' not possible",
          "Invalid character '0' in prefix '10'", "Invalid character 'O' in prefix '1O'",
          "Empty prefix ignored", "Prefix '1Ab' ignored, duplicate of '1Ab'",
          "Prefix '" + tooLong + "' not possible"}},
        {{"3zz", "31h", "n5"}, false, 5, {"31h"},
         {"Prefix '3zz' not possible", "Prefix 'n5' not possible"}},
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
        Texts warnings, kept;
        const PatternSet set =
            PatternSet::build(c.patterns, c.caseInsensitive, c.version, warnings);
        for (std::size_t i = 0; i < set.size(); ++i) {
            kept.push_back(set.pattern(i));
        }
        EXPECT_EQ(std::tie(kept, warnings), std::tie(c.kept, c.warnings)) << c.patterns[0];
    }
}

} // namespace
} // namespace tarwick::engine
