#pragma once

#include "engine/match/detail/UInt320.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarwick::engine {

// The address prefixes a search looks for, turned once into ranges of hash160 values so that
// a candidate key is tested without Base58: a P2PKH address is the Base58 text of the 25-byte
// number (version byte, hash160, 4-byte checksum), so the texts that start with a prefix are
// the numbers in a few intervals, one per possible text length. Leading '1's stand for leading
// zero bytes and are counted exactly.
//
// The checksum is a function of the hash, so only the two hash160 values at the ends of an
// interval can be cut by it; build() computes their checksums and keeps them only when the
// real address is inside. The ranges are therefore exact: match() says yes exactly when the
// address text starts with the pattern (matchesExactly() confirms it the slow way).
//
// The const members may be called from several search threads at once; remove() changes the
// set and needs the caller to keep them out meanwhile.
class PatternSet {
public:
    // One interval of hash160 values (inclusive, big-endian) that yields pattern(pattern).
    struct HashRange {
        std::array<std::uint8_t, 20> first;
        std::array<std::uint8_t, 20> last;
        std::size_t pattern;
    };

    // Builds the set for addresses with the given version byte (0: Bitcoin P2PKH, "1...").
    // Patterns that cannot be used are skipped with a line in `warnings`:
    //   Invalid character 'c' in prefix 'P'
    //   Prefix 'P' not possible          (no address of this version starts so)
    //   Prefix 'P' ignored, duplicate of 'Q'
    //   Prefix 'P' has 2^N case variants, too many to search
    // and, when nothing usable is left and some were impossible, a hint naming the characters
    // that addresses of this version begin with. With caseInsensitive, every spelling of the
    // pattern's letters counts ("1abc" also finds "1AbC"); 'l', 'I' and 'O', absent from the
    // alphabet, then stand for 'L', 'i' and 'o'.
    static PatternSet build(const std::vector<std::string>& patterns, bool caseInsensitive,
                            std::uint8_t version, std::vector<std::string>& warnings);

    PatternSet() = default;

    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    // The pattern as given.
    const std::string& pattern(std::size_t i) const { return entries_[i].text; }
    std::uint8_t version() const { return version_; }
    bool caseInsensitive() const { return caseInsensitive_; }

    // The pattern that the address of this hash160 starts with, if any. Where patterns
    // overlap (1A and 1Ab), the narrowest wins, so finding it does not go unreported while the
    // broader one is found anyway soon after. Almost every candidate is turned away by one bit
    // test on its first bits.
    std::optional<std::size_t> match(const std::uint8_t hash160[20]) const {
        const std::uint32_t top = (std::uint32_t{hash160[0]} << 24) |
                                  (std::uint32_t{hash160[1]} << 16) |
                                  (std::uint32_t{hash160[2]} << 8) | std::uint32_t{hash160[3]};
        const std::uint32_t bucket = top >> tableShift_;
        if (((table_[bucket / 64] >> (bucket % 64)) & 1) == 0) {
            return std::nullopt;
        }
        return matchInRanges(hash160);
    }

    // Whether the address of this hash160 starts with pattern i, by encoding it in Base58.
    bool matchesExactly(const std::uint8_t hash160[20], std::size_t i) const;

    // Expected number of keys to try until some pattern matches, as vanitygen defines it:
    // 2^192 divided by the count of 25-byte address values that match, rounded down. 0 when the
    // set is empty.
    double difficulty() const { return difficulty_; }

    // Drops pattern i (found, say); the patterns after it move down one index.
    void remove(std::size_t i);

    // Every range, sorted and disjoint, with the pattern it reports.
    std::vector<HashRange> hashRanges() const;

private:
    // A hash160 as a 160-bit number in three words, most significant first; the top word has
    // room above bit 31, so one past the largest hash160 is representable.
    struct Key {
        std::uint64_t word[3];
        friend auto operator<=>(const Key&, const Key&) = default;
    };
    struct KeyRange {
        Key first;
        Key last;
    };
    // A half-open interval of 25-byte address values as numbers.
    struct ValueRange {
        match_detail::UInt320 begin;
        match_detail::UInt320 end;
    };
    struct Entry {
        std::string text;
        std::vector<ValueRange> values;
        std::vector<KeyRange> hashes;
        double measure; // how many 25-byte values match: the narrower pattern wins overlaps
    };
    struct Segment {
        Key first;
        Key last;
        std::size_t pattern;
    };

    static Key keyOf(const std::uint8_t hash160[20]);
    static Key next(Key key);
    static Key previous(Key key);
    static void bytesOf(const Key& key, std::uint8_t out[20]);
    std::optional<std::size_t> matchInRanges(const std::uint8_t hash160[20]) const;
    void rebuild();

    std::vector<Entry> entries_;
    std::vector<Segment> segments_;
    std::vector<std::uint64_t> table_ = std::vector<std::uint64_t>(1, 0);
    unsigned tableShift_ = 31;
    double difficulty_ = 0;
    std::uint8_t version_ = 0;
    bool caseInsensitive_ = false;
};

} // namespace tarwick::engine
