// The generators' side of a patterns file: the reader, then the prefix -> hash160 ranges. The
// ranges are checked against the slow Base58 comparison at every range end and just beyond it,
// where a wrong checksum decision or an off-by-one would show.
#include "FuzzSupport.h"
#include "engine/match/PatternFile.h"
#include "engine/match/PatternSet.h"

#include <array>
#include <fuzzer/FuzzedDataProvider.h>

using namespace tarwick;
using Hash = std::array<std::uint8_t, 20>;

static Hash step(Hash hash, int by) { // hash + by (by = 1 or -1), wrapping around
    for (auto byte = hash.rbegin(); byte != hash.rend(); ++byte) {
        const int value = *byte + by;
        *byte = static_cast<std::uint8_t>(value);
        if (value >= 0 && value <= 0xFF)
            break;
    }
    return hash;
}

// A fast match must be an exact one, and without one no pattern may match exactly.
static void checkAgainstBase58(const engine::PatternSet& set, const Hash& hash) {
    const auto found = set.match(hash.data());
    FUZZ_CHECK(!found || (*found < set.size() && set.matchesExactly(hash.data(), *found)));
    for (std::size_t i = 0; i < set.size() && !found; ++i)
        FUZZ_CHECK(!set.matchesExactly(hash.data(), i));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool caseInsensitive = input.ConsumeBool();
    // Mostly Bitcoin's version byte, sometimes any other network's.
    const std::uint8_t version = input.ConsumeBool() ? input.ConsumeIntegral<std::uint8_t>() : 0;
    Hash probe{};
    const auto probeBytes = input.ConsumeBytes<std::uint8_t>(probe.size());
    std::copy(probeBytes.begin(), probeBytes.end(), probe.begin());

    bool ok = false;
    const auto file = fuzz::writeScratchFile("patterns.txt", input.ConsumeRemainingBytesAsString());
    const std::vector<std::string> patterns = engine::readPatternFile(file.string(), ok);
    FUZZ_CHECK(ok);
    for (const std::string& pattern : patterns)
        FUZZ_CHECK(!pattern.empty() && pattern.find_first_of("\r\n") == std::string::npos);

    std::vector<std::string> warnings;
    const auto set = engine::PatternSet::build(patterns, caseInsensitive, version, warnings);
    FUZZ_CHECK(set.size() + warnings.size() >= patterns.size() &&
               set.empty() == (set.difficulty() == 0));

    checkAgainstBase58(set, probe);
    const auto ranges = set.hashRanges();
    for (std::size_t r = 0; r < ranges.size() && r < 16; ++r) {
        const auto& range = ranges[r];
        FUZZ_CHECK(range.first <= range.last && range.pattern < set.size());
        FUZZ_CHECK(set.match(range.first.data()) == range.pattern &&
                   set.match(range.last.data()) == range.pattern);
        for (const Hash& hash :
             {range.first, range.last, step(range.first, -1), step(range.last, 1)})
            checkAgainstBase58(set, hash);
        FUZZ_CHECK(r + 1 == ranges.size() || range.last < ranges[r + 1].first);
    }
    return 0;
}
