#include "pool/KeySearch.h"

#include "engine/encoding/Address.h"

#include <map>
#include <set>
#include <stdexcept>
#include <utility>

namespace tarwick::pool {

double SearchTarget::difficulty() const {
    // Chances add up: one key matches some set with probability sum(1 / D_v).
    double rate = 0;
    for (const Patterns& p : patterns) {
        if (p.set.difficulty() > 0) {
            rate += 1 / p.set.difficulty();
        }
    }
    return rate > 0 ? 1 / rate : 0;
}

void PendingHits::addMatches(const SearchTarget& target, const std::uint8_t* hash,
                             engine::Scalar offset) {
    for (const SearchTarget::Patterns& patterns : target.patterns) {
        const auto match = patterns.set.match(hash);
        if (!match) {
            continue;
        }
        SearchHit hit{target.publicKey, patterns.set.pattern(*match), patterns.version, offset,
                      engine::p2pkhAddress(patterns.version, hash)};
        std::lock_guard lock(mutex_);
        if (hits_.size() < kMostKept) {
            hits_.push_back(std::move(hit));
        }
    }
}

std::vector<SearchHit> PendingHits::take() {
    std::lock_guard lock(mutex_);
    return std::exchange(hits_, {});
}

SearchTarget makeSearchTarget(const std::array<std::uint8_t, 65>& publicKey,
                              const std::vector<std::pair<std::uint8_t, std::string>>& patterns,
                              std::vector<std::string>& warnings) {
    SearchTarget target;
    target.publicKey = publicKey;
    if (publicKey[0] != 4 ||
        !engine::FieldElement::fromBytes(publicKey.data() + 1, target.point.x) ||
        !engine::FieldElement::fromBytes(publicKey.data() + 33, target.point.y)) {
        throw std::invalid_argument("not an uncompressed public key");
    }
    target.point.infinity = false;
    std::map<std::uint8_t, std::vector<std::string>> byVersion;
    std::set<std::pair<std::uint8_t, std::string>> seen;
    for (const auto& [version, pattern] : patterns) {
        if (seen.emplace(version, pattern).second) {
            byVersion[version].push_back(pattern);
        }
    }
    for (const auto& [version, list] : byVersion) {
        engine::PatternSet set = engine::PatternSet::build(list, false, version, warnings);
        if (!set.empty()) {
            target.patterns.push_back({version, std::move(set)});
        }
    }
    return target;
}

} // namespace tarwick::pool
