#include "opencl/OclGenerator.h"

#include "engine/match/PatternSet.h"
#include "engine/search/ResultFile.h"
#include "engine/verify/ReferenceKeyCheck.h"
#include "opencl/OclOptions.h"
#include "opencl/OclSearch.h"
#include "opencl_device/DeviceList.h"
#include "opencl_device/DeviceWalk.h"
#include "opencl_device/KernelProgram.h"
#include "program/ConsoleReport.h"
#include "program/SearchSetup.h"

#include <exception>

namespace tarwick::opencl {

namespace {

using opencl_device::chooseLayout;
using opencl_device::defaultBinaryCache;
using opencl_device::DeviceWalk;
using opencl_device::findDevice;
using opencl_device::formatPlatformListing;
using opencl_device::KernelBuildError;
using opencl_device::listPlatforms;
using opencl_device::PlatformEntry;
using opencl_device::WalkLayout;
using program::difficultyLine;
using program::print;

int search(const OclOptions& options, const cl::Device& device, std::FILE* out, std::FILE* err) {
    std::optional<engine::PatternSet> loaded = program::loadPatterns(options, err);
    if (!loaded) {
        return kExitUsage;
    }
    engine::PatternSet& set = *loaded;
    engine::ResultFile results;
    if (!program::openResults(options, results, err)) {
        return kExitUsage;
    }

    print(out, difficultyLine(set));

    const WalkLayout layout = chooseLayout(device, options.compressed);
    if (options.verbose) {
        print(err, "Device: " + device.getInfo<CL_DEVICE_NAME>() + ", " +
                       std::to_string(layout.items) + " work items in groups of " +
                       std::to_string(layout.groupSize) + ", " +
                       std::to_string(2 * layout.half + 1) + " points each per launch\n");
    }
    DeviceWalk walk(device, layout, defaultBinaryCache());

    engine::SearchSettings settings;
    settings.compressed = options.compressed;
    settings.caseInsensitive = options.caseInsensitive;
    settings.keepGoing = options.keepGoing;
    const engine::ReferenceKeyCheck check;
    engine::SystemStartKeys starts;
    program::ConsoleReport report(out, err, &results);
    OclSearch run(walk, settings, std::move(set), check, report, starts);
    report.onWriteFailure([&run] { run.requestStop(); });
    const engine::SearchOutcome outcome = run.run();
    report.close();
    return program::exitCodeFor(outcome, report.writeFailed());
}

} // namespace

int runOclGenerator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    OclOptions options;
    std::string error;
    if (!parseOclOptions(args, options, error)) {
        print(err, "Option error - " + error + "\n" + oclUsage());
        return kExitUsage;
    }
    if (options.help) {
        print(out, oclUsage());
        return kExitDone;
    }
    try {
        // The device comes first: the front-end asks for a device that does not exist to
        // get the listing, and expects nothing at all when there is no platform.
        const std::vector<PlatformEntry> platforms = listPlatforms();
        if (platforms.empty()) {
            return kExitNoDevice;
        }
        const std::optional<cl::Device> device = findDevice(options.device);
        if (!device) {
            print(err, formatPlatformListing(platforms));
            return kExitNoDevice;
        }
        return search(options, *device, out, err);
    } catch (const KernelBuildError& e) {
        print(err, std::string(e.what()) + "\n");
        return kExitDevice;
    } catch (const cl::Error& e) {
        print(err, std::string("OpenCL error - ") + e.what() + " failed with code " +
                       std::to_string(e.err()) + "\n");
        return kExitDevice;
    } catch (const std::exception& e) {
        print(err, std::string("Internal error - ") + e.what() + "\n");
        return kExitInternal;
    }
}

} // namespace tarwick::opencl
