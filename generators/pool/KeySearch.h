#pragma once

#include "engine/ec/Point.h"
#include "engine/ec/Scalar.h"
#include "engine/match/PatternSet.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace tarwick::pool {

// What a split-key search looks for: offsets k such that the address of P + k*G (the key
// uncompressed) begins with one of the patterns, each set of patterns for its version byte.
struct SearchTarget {
    std::array<std::uint8_t, 65> publicKey{};
    engine::AffinePoint point; // P
    struct Patterns {
        std::uint8_t version = 0;
        engine::PatternSet set;
    };
    std::vector<Patterns> patterns;

    // Expected keys until some pattern matches, over every version.
    double difficulty() const;
};

// A candidate the search found; the miner checks it independently before it goes anywhere.
struct SearchHit {
    std::array<std::uint8_t, 65> publicKey{}; // P of the search that found it
    std::string pattern;
    std::uint8_t version = 0;
    engine::Scalar offset{}; // k
    std::string address;     // of P + k*G, as the search computed it
};

// The hits a search's threads found and the miner has not yet taken. One hit per pattern is
// all the miner needs: an easy pattern ("1") must not fill the memory between two looks.
class PendingHits {
public:
    // One hit per pattern set of `target` that matches hash160 `hash` of P + k*G, k = offset.
    void addMatches(const SearchTarget& target, const std::uint8_t* hash, engine::Scalar offset);
    std::vector<SearchHit> take();
    void clear() { take(); }

private:
    static constexpr std::size_t kMostKept = 256;
    std::mutex mutex_;
    std::vector<SearchHit> hits_;
};

// A search running in the background on some device. Calls come from one thread.
class KeySearch {
public:
    virtual ~KeySearch() = default;
    // Where it runs, for the console: "CPU, 2 threads", "OpenCL device ...".
    virtual std::string description() const = 0;
    // The status line's group for it: "CPU" or "OpenCL".
    virtual std::string statusTag() const = 0;
    // Starts searching `target` (its patterns must not be empty) from a fresh random offset,
    // in place of whatever it searched before; hits of the earlier search not yet taken are
    // dropped.
    virtual void start(const SearchTarget& target) = 0;
    // Stops searching; start() may follow.
    virtual void stop() = 0;
    // The hits found since the last call.
    virtual std::vector<SearchHit> takeHits() = 0;
    // Keys checked since construction: points P + k*G hashed and matched.
    virtual std::uint64_t keysChecked() const = 0;
};

// Builds the target for P and patterns given per version byte; patterns that cannot be used
// are left out with a line in `warnings`, and versions left without patterns are dropped.
SearchTarget makeSearchTarget(const std::array<std::uint8_t, 65>& publicKey,
                              const std::vector<std::pair<std::uint8_t, std::string>>& patterns,
                              std::vector<std::string>& warnings);

} // namespace tarwick::pool
