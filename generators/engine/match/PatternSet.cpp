#include "engine/match/PatternSet.h"

#include "engine/encoding/Address.h"
#include "engine/encoding/Base58.h"
#include "engine/hash/Sha256.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace tarwick::engine {

namespace {

using match_detail::UInt320;

// Texts are at most this long: 2^200 has 35 Base58 digits.
constexpr std::size_t kMaxTextLength = 35;
// A pattern with more letters that can be written both ways than this is not expanded.
constexpr std::size_t kMaxCaseBits = 16;

UInt320 powerOf256(std::size_t exponent) {
    return UInt320::powerOfTwo(static_cast<unsigned>(8 * exponent));
}

// The spellings a pattern character stands for: itself when it is in the alphabet, or with
// case folding, each of its two cases that is in the alphabet. Empty: not usable.
std::string spellingsOf(char c, bool caseInsensitive) {
    std::string result;
    auto add = [&](char candidate) {
        if (base58DigitValue(candidate) >= 0 && result.find(candidate) == std::string::npos) {
            result += candidate;
        }
    };
    if (!caseInsensitive) {
        add(c);
        return result;
    }
    const auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u)) {
        add(static_cast<char>(std::toupper(u)));
        add(static_cast<char>(std::tolower(u)));
    } else {
        add(c);
    }
    return result;
}

// The half-open intervals of 25-byte values, as numbers, whose Base58 text starts with
// `prefix` (already a concrete spelling) and whose first byte is `version`.
std::vector<std::pair<UInt320, UInt320>> valueIntervals(const std::string& prefix,
                                                        std::uint8_t version) {
    std::vector<std::pair<UInt320, UInt320>> result;
    std::size_t ones = 0;
    while (ones < prefix.size() && prefix[ones] == '1') {
        ++ones;
    }
    const std::size_t digits = prefix.size() - ones;
    if (ones > 25 || (ones == 25 && digits > 0) || digits > kMaxTextLength) {
        return result;
    }

    // Exactly `ones` leading zero bytes when other digits follow, at least that many when the
    // prefix is all '1's.
    UInt320 low = digits > 0 ? powerOf256(24 - ones) : UInt320(0);
    UInt320 high = powerOf256(25 - ones);
    // The version byte.
    UInt320 vLow = UInt320::powerOfTwo(192);
    vLow.mulSmall(version);
    UInt320 vHigh = UInt320::powerOfTwo(192);
    vHigh.mulSmall(static_cast<std::uint32_t>(version) + 1);
    low = std::max(low, vLow);
    high = std::min(high, vHigh);
    if (low >= high) {
        return result;
    }
    if (digits == 0) {
        result.emplace_back(low, high);
        return result;
    }

    // The digits after the '1's read as a number t: texts of k more digits start with them
    // exactly for the numbers in [t * 58^k, (t + 1) * 58^k).
    UInt320 t;
    for (std::size_t i = ones; i < prefix.size(); ++i) {
        t.mulSmall(58).addSmall(static_cast<std::uint32_t>(base58DigitValue(prefix[i])));
    }
    UInt320 begin = t;
    UInt320 end = t;
    end.addSmall(1);
    while (begin < high) {
        const UInt320 b = std::max(begin, low);
        const UInt320 e = std::min(end, high);
        if (b < e) {
            result.emplace_back(b, e);
        }
        begin.mulSmall(58);
        end.mulSmall(58);
    }
    return result;
}

// The first four bytes of the address checksum of (version, hash) as a big-endian number: the
// low 32 bits of the 25-byte value.
std::uint32_t checksumOf(std::uint8_t version, const std::uint8_t hash[20]) {
    std::uint8_t payload[21];
    payload[0] = version;
    std::copy(hash, hash + 20, payload + 1);
    std::uint8_t digest[32];
    sha256d(payload, sizeof payload, digest);
    return (std::uint32_t{digest[0]} << 24) | (std::uint32_t{digest[1]} << 16) |
           (std::uint32_t{digest[2]} << 8) | std::uint32_t{digest[3]};
}

std::string versionHint(std::uint8_t version) {
    std::string chars;
    for (const char* p = kBase58Alphabet; *p != '\0'; ++p) {
        if (!valueIntervals(std::string(1, *p), version).empty()) {
            chars += *p;
        }
    }
    std::string list;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (i > 0) {
            list += i + 1 == chars.size() ? " or " : ", ";
        }
        list += '"';
        list += chars[i];
        list += '"';
    }
    if (version == 0) {
        return "Hint: valid bitcoin addresses begin with " + list;
    }
    return "Hint: valid addresses of version " + std::to_string(version) + " begin with " + list;
}

} // namespace

PatternSet PatternSet::build(const std::vector<std::string>& patterns, bool caseInsensitive,
                             std::uint8_t version, std::vector<std::string>& warnings) {
    PatternSet set;
    set.version_ = version;
    set.caseInsensitive_ = caseInsensitive;
    bool anyImpossible = false;
    std::map<std::tuple<Key, Key, std::size_t>, std::size_t> signatures;

    for (const std::string& text : patterns) {
        // Validate, and collect the spellings of each position.
        std::vector<std::string> spellings;
        bool valid = true;
        for (char c : text) {
            spellings.push_back(spellingsOf(c, caseInsensitive));
            if (spellings.back().empty()) {
                warnings.push_back("Invalid character '" + std::string(1, c) + "' in prefix '" +
                                   text + "'");
                valid = false;
                break;
            }
        }
        if (!valid) {
            continue;
        }
        if (text.empty()) {
            warnings.push_back("Empty prefix ignored");
            continue;
        }
        std::size_t caseBits = 0;
        for (const auto& s : spellings) {
            caseBits += s.size() - 1;
        }
        if (caseBits > kMaxCaseBits) {
            warnings.push_back("Prefix '" + text + "' has 2^" + std::to_string(caseBits) +
                               " case variants, too many to search");
            continue;
        }

        // Every spelling: their texts are disjoint, so their intervals are too.
        Entry entry{text, {}, {}, 0};
        std::string spelling(text.size(), ' ');
        for (std::size_t variant = 0; variant < (std::size_t{1} << caseBits); ++variant) {
            std::size_t bits = variant;
            for (std::size_t i = 0; i < text.size(); ++i) {
                const std::string& choices = spellings[i];
                spelling[i] = choices[choices.size() == 2 ? bits & 1 : 0];
                if (choices.size() == 2) {
                    bits >>= 1;
                }
            }
            for (auto& [begin, end] : valueIntervals(spelling, version)) {
                entry.values.push_back({begin, end});
            }
        }
        if (entry.values.empty()) {
            warnings.push_back("Prefix '" + text + "' not possible");
            anyImpossible = true;
            continue;
        }
        std::sort(entry.values.begin(), entry.values.end(),
                  [](const ValueRange& a, const ValueRange& b) { return a.begin < b.begin; });

        // From 25-byte values to hash160s, deciding the two ends by their real checksums.
        for (const ValueRange& range : entry.values) {
            entry.measure += (range.end - range.begin).toDouble();
            std::uint8_t first[25];
            std::uint8_t last[25];
            range.begin.toBytes(first, 25);
            (range.end - UInt320(1)).toBytes(last, 25);
            const std::uint32_t firstCheck = (std::uint32_t{first[21]} << 24) |
                                             (std::uint32_t{first[22]} << 16) |
                                             (std::uint32_t{first[23]} << 8) | first[24];
            const std::uint32_t lastCheck = (std::uint32_t{last[21]} << 24) |
                                            (std::uint32_t{last[22]} << 16) |
                                            (std::uint32_t{last[23]} << 8) | last[24];
            Key lo = keyOf(first + 1);
            Key hi = keyOf(last + 1);
            if (lo == hi) {
                const std::uint32_t check = checksumOf(version, first + 1);
                if (check >= firstCheck && check <= lastCheck) {
                    entry.hashes.push_back({lo, hi});
                }
                continue;
            }
            if (checksumOf(version, first + 1) < firstCheck) {
                lo = next(lo);
            }
            if (checksumOf(version, last + 1) > lastCheck) {
                hi = previous(hi);
            }
            if (lo <= hi) {
                entry.hashes.push_back({lo, hi});
            }
        }
        if (entry.hashes.empty()) {
            // Only possible through a checksum no hash160 here has: a very long prefix.
            warnings.push_back("Prefix '" + text + "' not possible");
            anyImpossible = true;
            continue;
        }

        // The same addresses under another spelling ("1lio" and "1LIO" with -i): keep the
        // first. Looked up by the outer ends and range count, then compared in full.
        const auto signature = std::make_tuple(entry.hashes.front().first, entry.hashes.back().last,
                                               entry.hashes.size());
        const auto seen = signatures.find(signature);
        if (seen != signatures.end() && std::equal(entry.hashes.begin(), entry.hashes.end(),
                                                   set.entries_[seen->second].hashes.begin(),
                                                   [](const KeyRange& a, const KeyRange& b) {
                                                       return a.first == b.first &&
                                                              a.last == b.last;
                                                   })) {
            warnings.push_back("Prefix '" + text + "' ignored, duplicate of '" +
                               set.entries_[seen->second].text + "'");
            continue;
        }
        signatures.emplace(signature, set.entries_.size());
        set.entries_.push_back(std::move(entry));
    }

    if (set.entries_.empty() && anyImpossible) {
        warnings.push_back(versionHint(version));
    }
    set.rebuild();
    return set;
}

PatternSet::Key PatternSet::keyOf(const std::uint8_t hash160[20]) {
    Key key{{0, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        key.word[0] = (key.word[0] << 8) | hash160[i];
    }
    for (int i = 4; i < 12; ++i) {
        key.word[1] = (key.word[1] << 8) | hash160[i];
    }
    for (int i = 12; i < 20; ++i) {
        key.word[2] = (key.word[2] << 8) | hash160[i];
    }
    return key;
}

// The neighbours of a hash160 as a 160-bit number (the top word carries past bit 159).
PatternSet::Key PatternSet::next(Key key) {
    for (int i = 2; i >= 0; --i) {
        if (++key.word[i] != 0) {
            break;
        }
    }
    return key;
}

PatternSet::Key PatternSet::previous(Key key) {
    for (int i = 2; i >= 0; --i) {
        if (key.word[i]-- != 0) {
            break;
        }
    }
    return key;
}

void PatternSet::bytesOf(const Key& key, std::uint8_t out[20]) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(key.word[0] >> (8 * (3 - i)));
    }
    for (int i = 0; i < 8; ++i) {
        out[4 + i] = static_cast<std::uint8_t>(key.word[1] >> (8 * (7 - i)));
        out[12 + i] = static_cast<std::uint8_t>(key.word[2] >> (8 * (7 - i)));
    }
}

void PatternSet::rebuild() {
    // Difficulty over the union of every pattern's 25-byte values.
    std::vector<ValueRange> values;
    for (const Entry& entry : entries_) {
        values.insert(values.end(), entry.values.begin(), entry.values.end());
    }
    std::sort(values.begin(), values.end(),
              [](const ValueRange& a, const ValueRange& b) { return a.begin < b.begin; });
    UInt320 covered;
    UInt320 reached;
    for (const ValueRange& range : values) {
        const UInt320 begin = std::max(range.begin, reached);
        if (range.end > begin) {
            covered += range.end - begin;
            reached = range.end;
        }
    }
    difficulty_ = entries_.empty() ? 0.0 : std::floor(std::ldexp(1.0, 192) / covered.toDouble());

    // Disjoint segments, each reporting the narrowest pattern that covers it: a sweep over
    // the ends of every range.
    struct Event {
        Key at;
        bool opens;
        std::size_t pattern;
    };
    std::vector<Event> events;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        for (const KeyRange& range : entries_[i].hashes) {
            events.push_back({range.first, true, i});
            events.push_back({next(range.last), false, i});
        }
    }
    std::sort(events.begin(), events.end(),
              [](const Event& a, const Event& b) { return a.at < b.at; });
    segments_.clear();
    std::set<std::pair<double, std::size_t>> open;
    for (std::size_t k = 0; k < events.size();) {
        const Key at = events[k].at;
        for (; k < events.size() && events[k].at == at; ++k) {
            const auto rank =
                std::make_pair(entries_[events[k].pattern].measure, events[k].pattern);
            if (events[k].opens) {
                open.insert(rank);
            } else {
                open.erase(rank);
            }
        }
        if (open.empty() || k == events.size()) {
            continue;
        }
        const std::size_t pattern = open.begin()->second;
        const Key last = previous(events[k].at);
        if (!segments_.empty() && segments_.back().pattern == pattern &&
            next(segments_.back().last) == at) {
            segments_.back().last = last;
        } else {
            segments_.push_back({at, last, pattern});
        }
    }

    // The rejection table: one bit per bucket of the first bits, set where any segment
    // reaches. Finer buckets when many segments would otherwise mark a noticeable share.
    unsigned bits = 16;
    while (bits < 22 && segments_.size() * 1024 > (std::size_t{1} << bits)) {
        bits += 2;
    }
    tableShift_ = 32 - bits;
    table_.assign((std::size_t{1} << bits) / 64, 0);
    for (const Segment& segment : segments_) {
        const std::uint64_t from = segment.first.word[0] >> tableShift_;
        const std::uint64_t to = segment.last.word[0] >> tableShift_;
        for (std::uint64_t bucket = from; bucket <= to; ++bucket) {
            table_[bucket / 64] |= std::uint64_t{1} << (bucket % 64);
        }
    }
}

std::optional<std::size_t> PatternSet::matchInRanges(const std::uint8_t hash160[20]) const {
    const Key key = keyOf(hash160);
    auto it = std::upper_bound(segments_.begin(), segments_.end(), key,
                               [](const Key& k, const Segment& s) { return k < s.first; });
    if (it == segments_.begin()) {
        return std::nullopt;
    }
    --it;
    if (key <= it->last) {
        return it->pattern;
    }
    return std::nullopt;
}

bool PatternSet::matchesExactly(const std::uint8_t hash160[20], std::size_t i) const {
    const std::string address = p2pkhAddress(version_, hash160);
    const std::string& text = entries_[i].text;
    if (address.size() < text.size()) {
        return false;
    }
    for (std::size_t j = 0; j < text.size(); ++j) {
        if (spellingsOf(text[j], caseInsensitive_).find(address[j]) == std::string::npos) {
            return false;
        }
    }
    return true;
}

void PatternSet::remove(std::size_t i) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    rebuild();
}

std::vector<PatternSet::HashRange> PatternSet::hashRanges() const {
    std::vector<HashRange> result;
    for (const Segment& segment : segments_) {
        HashRange range{};
        bytesOf(segment.first, range.first.data());
        bytesOf(segment.last, range.last.data());
        range.pattern = segment.pattern;
        result.push_back(range);
    }
    return result;
}

} // namespace tarwick::engine
