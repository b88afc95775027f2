// Launches of the walk kernel on OpenCL platform 0, device 0 (PoCL where there is no GPU) in
// the pool miner's shape: uncompressed keys, every candidate of a point hashed (pointsOnly 0)
// or only the point itself (pointsOnly 1), which is all a split-key search can use. Items are
// the points walked per second: the miner's keys.

#include "engine/ec/Point.h"
#include "opencl_device/DeviceList.h"
#include "opencl_device/DeviceTables.h"
#include "opencl_device/DeviceWalk.h"
#include "opencl_device/KernelProgram.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tarwick;

void splitKeyLaunch(benchmark::State& state) {
    const std::optional<cl::Device> device = opencl_device::findDevice({0, 0});
    if (!device) {
        state.SkipWithError("no OpenCL device 0:0");
        return;
    }
    opencl_device::WalkLayout layout = opencl_device::chooseLayout(*device, false);
    layout.pointsOnly = state.range(0) != 0;
    opencl_device::DeviceWalk walk(*device, layout, opencl_device::defaultBinaryCache());
    std::vector<std::string> warnings;
    const engine::PatternSet bitcoin =
        engine::PatternSet::build({"1BitcoinEaterAddressDontSend"}, false, 0, warnings);
    walk.setPatterns({&bitcoin});
    const engine::AffinePoint start =
        engine::multiplyGenerator(engine::Scalar{{0x1234567890ABCDEFULL, 7, 8, 9}});
    walk.setCentres(opencl_device::arithmeticProgression(
        start, engine::multiplyGenerator(engine::Scalar{{0, 1, 0, 0}}), layout.items));
    std::uint64_t dropped = 0;
    walk.launch(dropped); // the first launch pays for setting up the device
    for (auto _ : state) {
        benchmark::DoNotOptimize(walk.launch(dropped));
    }
    state.SetItemsProcessed(
        static_cast<std::int64_t>(state.iterations() * layout.items * walk.pointsPerItem()));
}
BENCHMARK(splitKeyLaunch)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
