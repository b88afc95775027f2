#include "cpu/CpuGenerator.h"
#include "engine/process/CoreDumps.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    tarwick::engine::disableCoreDumps();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tarwick::cpu::runCpuGenerator(args, stdout, stderr);
}
