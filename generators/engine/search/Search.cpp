#include "engine/search/Search.h"

#include "engine/ec/Candidates.h"
#include "engine/ec/PointWalker.h"
#include "engine/encoding/Address.h"
#include "engine/encoding/Wif.h"
#include "engine/hash/Hash160.h"
#include "engine/random/SystemRandom.h"
#include "engine/search/CandidateHasher.h"
#include "engine/search/StatusSchedule.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

namespace tarwick::engine {

namespace {

// Points whose candidates are hashed together: small enough for the first-level cache.
constexpr std::size_t kPointsPerChunk = 32;
constexpr std::size_t kHashSize = 20;

} // namespace

struct alignas(64) Search::Counter {
    std::atomic<std::uint64_t> keys{0};
};

Scalar SystemStartKeys::nextStart() {
    return randomPrivateKey();
}

Search::Search(const SearchSettings& settings, PatternSet patterns, const KeyCheck& check,
               SearchObserver& observer, StartKeySource& starts)
    : settings_(settings), check_(check), observer_(observer), starts_(starts),
      patternCount_(patterns.size()),
      patterns_(std::make_shared<const PatternSet>(std::move(patterns))),
      counters_(std::make_unique<Counter[]>(std::max(1u, settings.threads))) {
    settings_.threads = std::max(1u, settings_.threads);
}

Search::~Search() = default;

std::uint64_t Search::totalKeys() const {
    std::uint64_t total = 0;
    for (unsigned i = 0; i < settings_.threads; ++i) {
        total += counters_[i].keys.load(std::memory_order_relaxed);
    }
    return total;
}

std::shared_ptr<const PatternSet> Search::currentPatterns(std::uint64_t& generation) const {
    std::lock_guard lock(mutex_);
    generation = generation_.load();
    return patterns_;
}

void Search::requestStop() {
    // No lock here: observers call this from inside their callbacks, which run under mutex_.
    // A wake-up lost to a race costs at most the one-second status wait.
    stopRequested_ = true;
    stop_ = true;
    wake_.notify_all();
}

void Search::finish(SearchOutcome outcome, const std::string& message) {
    // Called with mutex_ held.
    if (done_) {
        return;
    }
    done_ = true;
    outcome_ = outcome;
    failure_ = message;
    stop_ = true;
    wake_.notify_all();
}

SearchOutcome Search::run() {
    if (patterns_->empty()) {
        return SearchOutcome::AllFound;
    }
    std::vector<Scalar> startKeys;
    for (unsigned i = 0; i < settings_.threads; ++i) {
        startKeys.push_back(starts_.nextStart());
    }
    std::vector<std::thread> workers;
    try {
        for (unsigned i = 0; i < settings_.threads; ++i) {
            workers.emplace_back([this, i, start = startKeys[i]] { work(i, start); });
        }
    } catch (...) {
        // No thread may be left running (or joinable) when this one cannot be started.
        stop_ = true;
        for (auto& worker : workers) {
            worker.join();
        }
        throw;
    }

    StatusSchedule schedule(StatusSchedule::Clock::now());
    std::unique_lock lock(mutex_);
    const auto finished = [this] { return done_ || stopRequested_.load(); };
    while (!finished()) {
        if (!wake_.wait_until(lock, schedule.due(), finished)) {
            const std::uint64_t total = totalKeys();
            SearchStatus status;
            status.keysPerSecond = schedule.rateAt(StatusSchedule::Clock::now(), total);
            status.totalKeys = total;
            status.keysSinceLastFind = total - std::min(total, keysAtLastFind_);
            status.difficulty = patterns_->difficulty();
            status.found = found_;
            status.patterns = patternCount_;
            status.keepGoing = settings_.keepGoing;
            observer_.status(status);
        }
    }
    stop_ = true;
    lock.unlock();
    for (auto& worker : workers) {
        worker.join();
    }
    if (outcome_ == SearchOutcome::CheckFailed || !failure_.empty()) {
        observer_.failed(failure_);
    }
    return outcome_;
}

void Search::work(unsigned index, Scalar start) {
    try {
        const bool compressed = settings_.compressed;
        const std::size_t keySize = compressed ? kCompressedKeySize : kUncompressedKeySize;
        const FieldBackend backend = fieldBackendInUse();
        PointWalker walker(settings_.walkerHalf, backend);
        walker.start(start);
        std::vector<AffinePoint> points(walker.batchSize());
        CandidateHasher hasher(compressed, backend, hash160BatchBackend());
        std::vector<std::uint8_t> hashes(kPointsPerChunk * kCandidatesPerPoint * kHashSize);
        std::uint64_t generation = 0;
        std::shared_ptr<const PatternSet> patterns = currentPatterns(generation);

        while (!stop_.load(std::memory_order_relaxed)) {
            if (generation != generation_.load(std::memory_order_acquire)) {
                patterns = currentPatterns(generation);
            }
            const Scalar first = walker.firstKey();
            walker.next(points.data());
            std::size_t checked = 0; // points of the batch hashed and matched
            bool reseeded = false;
            for (std::size_t chunk = 0; chunk < points.size() && !reseeded;
                 chunk += kPointsPerChunk) {
                const std::size_t count = std::min(kPointsPerChunk, points.size() - chunk);
                hasher.hash(points.data() + chunk, count, hashes.data());
                const std::size_t candidates = count * kCandidatesPerPoint;
                for (std::size_t c = 0; c < candidates; ++c) {
                    const std::uint8_t* hash = hashes.data() + c * kHashSize;
                    // Test first, take the index only on a hit: keeping the optional from
                    // the hot test made the compiler bounce it through memory each time.
                    if (!patterns->match(hash).has_value()) {
                        continue;
                    }
                    const auto match = patterns->match(hash);
                    const std::size_t pointIndex = chunk + c / kCandidatesPerPoint;
                    const auto kind = static_cast<CandidateKind>(c % kCandidatesPerPoint);
                    const Scalar key =
                        candidateKey(scalarAdd(first, Scalar::fromUint64(pointIndex)), kind);
                    FoundKey foundKey;
                    foundKey.pattern = patterns->pattern(*match);
                    key.toBytes(foundKey.privateKey.data());
                    foundKey.compressed = compressed;
                    std::uint8_t publicKey[kUncompressedKeySize];
                    serializePoint(candidatePoint(points[pointIndex], kind), compressed, publicKey);
                    foundKey.publicKey.assign(publicKey, publicKey + keySize);
                    std::copy(hash, hash + kHashSize, foundKey.hash160.begin());
                    foundKey.address = p2pkhAddress(0, hash);
                    foundKey.privateKeyWif =
                        wifFromPrivateKey(foundKey.privateKey.data(), compressed);
                    if (const std::optional<Scalar> fresh = submit(std::move(foundKey))) {
                        // Every other key of this walk is a known step away from the one
                        // reported: go on from an unrelated key instead.
                        walker.start(*fresh);
                        reseeded = true;
                        break;
                    }
                }
                checked = chunk + count;
            }
            counters_[index].keys.fetch_add(checked * kCandidatesPerPoint,
                                            std::memory_order_relaxed);
        }
    } catch (const std::exception& e) {
        std::lock_guard lock(mutex_);
        finish(SearchOutcome::Stopped, std::string("Search error - ") + e.what());
    }
}

std::optional<Scalar> Search::submit(FoundKey key) {
    std::lock_guard lock(mutex_);
    if (done_ || stopRequested_) {
        return std::nullopt;
    }
    std::size_t wanted = patterns_->size();
    for (std::size_t i = 0; i < patterns_->size(); ++i) {
        if (patterns_->pattern(i) == key.pattern) {
            wanted = i;
            break;
        }
    }
    if (wanted == patterns_->size()) {
        return std::nullopt; // found a moment ago by another candidate or thread
    }
    const std::string problem = check_.problem(key, settings_.caseInsensitive);
    if (!problem.empty()) {
        finish(SearchOutcome::CheckFailed, "Self-check error - a key for pattern " + key.pattern +
                                               " failed the independent check (" + problem +
                                               "); it was not reported");
        return std::nullopt;
    }
    observer_.found(key);
    ++found_;
    keysAtLastFind_ = totalKeys();
    if (!settings_.keepGoing) {
        auto remaining = std::make_shared<PatternSet>(*patterns_);
        remaining->remove(wanted);
        patterns_ = std::move(remaining);
        generation_.fetch_add(1, std::memory_order_release);
        if (patterns_->empty()) {
            finish(SearchOutcome::AllFound, {});
        }
    }
    if (done_ || stopRequested_) {
        return std::nullopt;
    }
    return starts_.nextStart();
}

} // namespace tarwick::engine
