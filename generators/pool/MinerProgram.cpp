#include "pool/MinerProgram.h"

#include "pool/CurlHttpClient.h"
#include "pool/Miner.h"
#include "pool/RewardAddress.h"
#include "pool/SearchChoice.h"

#include <curl/curl.h>
#include <exception>

namespace tarwick::pool {

int runMinerProgram(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                    const std::atomic<bool>& stop) {
    MinerOptions options;
    std::string error;
    if (!parseMinerOptions(args, options, error)) {
        std::fprintf(err, "Option error - %s\n%s", error.c_str(), minerUsage());
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(minerUsage(), out);
        return 0;
    }
    Console console(out);
    const std::string problem = rewardAddressProblem(options.rewardAddress);
    if (!problem.empty()) {
        console.line("Reward address error - '" + options.rewardAddress + "': " + problem);
        return kExitUsage;
    }
    try {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            console.line("Network error - libcurl could not start");
            return kExitUsage;
        }
        int code = kExitUsage;
        {
            CurlHttpClient http(std::chrono::seconds(options.timeoutSeconds));
            SplitKeyCheck check;
            SteadyMinerClock clock;
            Miner miner(options, http, check, console, clock);
            if (miner.connect()) {
                // Building the kernels for a device can take a while on the first start.
                if (!options.device.empty()) {
                    console.line("Preparing OpenCL device " + options.device + "...");
                }
                SearchChoice choice = chooseKeySearch(options);
                if (!choice.note.empty()) {
                    console.line(choice.note);
                }
                code = miner.run(*choice.search, stop);
            }
        }
        curl_global_cleanup();
        return code;
    } catch (const std::exception& e) {
        console.line(std::string("Internal error - ") + e.what());
        return kExitUsage;
    }
}

} // namespace tarwick::pool
