#include "engine/process/CoreDumps.h"
#include "pool/MinerProgram.h"
#include "pool/StopRequest.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    tarwick::engine::disableCoreDumps();
    const std::atomic<bool>& stop = tarwick::pool::watchStopRequests();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tarwick::pool::runMinerProgram(args, stdout, stderr, stop);
}
