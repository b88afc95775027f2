#include "TestGenerators.h"

#include <fstream>
#include <string>

namespace tarwick::testing {

std::filesystem::path TestGeneratorPath() {
    return TARWICK_TEST_GENERATOR_PATH;
}

void InstallTestGenerators(const std::filesystem::path& workDir) {
    const std::filesystem::path folder = workDir / "vanitygen";
    std::filesystem::create_directories(folder);
    for (const char* name : {"vanitygen64.exe", "oclvanitygen.exe", "oclvanityminer64.exe"}) {
        std::filesystem::copy_file(TestGeneratorPath(), folder / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

void WriteGeneratorScript(const std::filesystem::path& workDir, std::string_view script) {
    std::ofstream out(workDir / "generator-script.txt", std::ios::binary | std::ios::trunc);
    out << script;
}

} // namespace tarwick::testing
