// The generators' side of a patterns file: the reader, then the prefix -> hash160 ranges. The
// ranges are checked against the slow Base58 comparison at every range end and just beyond it,
// where a wrong checksum decision or an off-by-one would show.
#include "FuzzSupport.h"
#include "engine/match/PatternFile.h"
#include "engine/match/PatternSet.h"

#include <array>
#include <fuzzer/FuzzedDataProvider.h>

using tarwick::engine::PatternSet;

namespace {

using Hash = std::array<std::uint8_t, 20>;

Hash step(Hash hash, int by) {
    for (int i = 19; i >= 0; --i) {
        const int value = hash[static_cast<std::size_t>(i)] + by;
        hash[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value & 0xFF);
        if (value >= 0 && value <= 0xFF)
            break;
    }
    return hash;
}

void checkAgainstBase58(const PatternSet& set, const Hash& hash) {
    const auto found = set.match(hash.data());
    if (found) {
        FUZZ_CHECK(*found < set.size());
        FUZZ_CHECK(set.matchesExactly(hash.data(), *found));
        return;
    }
    for (std::size_t i = 0; i < set.size(); ++i)
        FUZZ_CHECK(!set.matchesExactly(hash.data(), i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool caseInsensitive = input.ConsumeBool();
    // Mostly Bitcoin's version byte, sometimes any other network's.
    const std::uint8_t version = input.ConsumeBool() ? input.ConsumeIntegral<std::uint8_t>() : 0;
    Hash probe{};
    const auto probeBytes = input.ConsumeBytes<std::uint8_t>(probe.size());
    std::copy(probeBytes.begin(), probeBytes.end(), probe.begin());
    const std::string fileBytes = input.ConsumeRemainingBytesAsString();

    bool ok = false;
    const auto path = tarwick::fuzz::writeScratchFile("patterns.txt", fileBytes);
    const std::vector<std::string> patterns = tarwick::engine::readPatternFile(path.string(), ok);
    FUZZ_CHECK(ok);
    for (const std::string& pattern : patterns) {
        FUZZ_CHECK(!pattern.empty());
        FUZZ_CHECK(pattern.find_first_of("\r\n") == std::string::npos);
    }

    std::vector<std::string> warnings;
    const PatternSet set = PatternSet::build(patterns, caseInsensitive, version, warnings);
    FUZZ_CHECK(set.size() + warnings.size() >= patterns.size());
    FUZZ_CHECK(set.empty() == (set.difficulty() == 0));

    checkAgainstBase58(set, probe);
    const auto ranges = set.hashRanges();
    const std::size_t checked = std::min<std::size_t>(ranges.size(), 16);
    for (std::size_t r = 0; r < checked; ++r) {
        const auto& range = ranges[r];
        FUZZ_CHECK(range.first <= range.last);
        FUZZ_CHECK(range.pattern < set.size());
        FUZZ_CHECK(set.match(range.first.data()) == range.pattern);
        FUZZ_CHECK(set.match(range.last.data()) == range.pattern);
        checkAgainstBase58(set, range.first);
        checkAgainstBase58(set, range.last);
        checkAgainstBase58(set, step(range.first, -1));
        checkAgainstBase58(set, step(range.last, 1));
        if (r + 1 < ranges.size())
            FUZZ_CHECK(range.last < ranges[r + 1].first);
    }
    return 0;
}
