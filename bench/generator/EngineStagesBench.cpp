// The stages of the key search one by one, per point (six candidate keys) where it applies:
// where a generator's time goes.

#include "engine/ec/Candidates.h"
#include "engine/ec/PointWalker.h"
#include "engine/hash/Hash160.h"
#include "engine/search/CandidateHasher.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace tarwick::engine;

void fieldMul(benchmark::State& state) {
    FieldElement a = generatorPoint().x;
    const FieldElement b = generatorPoint().y;
    for (auto _ : state) {
        a = fieldMul(a, b);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(fieldMul);

void fieldSqr(benchmark::State& state) {
    FieldElement a = generatorPoint().x;
    for (auto _ : state) {
        a = fieldSqr(a);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(fieldSqr);

void fieldInverse(benchmark::State& state) {
    FieldElement a = generatorPoint().x;
    for (auto _ : state) {
        a = fieldInverse(a);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(fieldInverse);

// Points per second of the walker, for batch sizes 2 * half.
void walkerPoints(benchmark::State& state) {
    PointWalker walker(static_cast<std::size_t>(state.range(0)));
    walker.start(Scalar{{0x1234567890ABCDEFULL, 0x0FEDCBA987654321ULL, 0x1111, 0x2222}});
    std::vector<AffinePoint> points(walker.batchSize());
    for (auto _ : state) {
        walker.next(points.data());
        benchmark::DoNotOptimize(points.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * walker.batchSize()));
}
BENCHMARK(walkerPoints)->Arg(64)->Arg(256)->Arg(512)->Arg(1024)->Arg(2048);

void candidateKeys(benchmark::State& state) {
    const bool compressed = state.range(0) != 0;
    const AffinePoint p = generatorPoint();
    std::vector<std::uint8_t> out(kCandidatesPerPoint * kUncompressedKeySize);
    for (auto _ : state) {
        writeCandidateKeys(p, compressed, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(candidateKeys)->Arg(1)->Arg(0);

// hash160 of the six candidates of 32 points, per point.
void hash160OfCandidates(benchmark::State& state) {
    const std::size_t size = state.range(0) != 0 ? kCompressedKeySize : kUncompressedKeySize;
    const std::size_t count = 32 * kCandidatesPerPoint;
    std::vector<std::uint8_t> keys(count * size, 0x5A);
    std::vector<std::uint8_t> hashes(count * 20);
    for (auto _ : state) {
        hash160Batch(keys.data(), size, count, hashes.data());
        benchmark::DoNotOptimize(hashes.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 32));
    state.SetLabel(hashBackendName());
}
BENCHMARK(hash160OfCandidates)->Arg(1)->Arg(0);

// The search's candidate stage as it runs: the six candidates of 32 walker points from point to
// hash on the backends in use, per point.
void candidateHashes(benchmark::State& state) {
    const bool compressed = state.range(0) != 0;
    PointWalker walker(16);
    walker.start(Scalar{{0x1234567890ABCDEFULL, 0x0FEDCBA987654321ULL, 0x1111, 0x2222}});
    std::vector<AffinePoint> points(walker.batchSize());
    walker.next(points.data());
    CandidateHasher hasher(compressed, fieldBackendInUse(), hash160BatchBackend());
    std::vector<std::uint8_t> hashes(points.size() * kCandidatesPerPoint * 20);
    for (auto _ : state) {
        hasher.hash(points.data(), points.size(), hashes.data());
        benchmark::DoNotOptimize(hashes.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * points.size()));
    state.SetLabel(std::string(fieldBackendName(fieldBackendInUse())) + " " + hashBackendName());
}
BENCHMARK(candidateHashes)->Arg(1)->Arg(0);

} // namespace

BENCHMARK_MAIN();
