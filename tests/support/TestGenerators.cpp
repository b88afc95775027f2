#include "TestGenerators.h"

#include <fstream>

namespace tarwick::testing {

void installTestGenerators(const std::filesystem::path& workDir) {
    std::filesystem::create_directories(workDir / "vanitygen");
    for (const char* name : {"vanitygen64.exe", "oclvanitygen.exe", "oclvanityminer64.exe"}) {
        std::filesystem::copy_file(TARWICK_TEST_GENERATOR_PATH, workDir / "vanitygen" / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

void writeGeneratorScript(const std::filesystem::path& workDir, std::string_view script) {
    std::ofstream(workDir / "generator-script.txt", std::ios::binary | std::ios::trunc) << script;
}

} // namespace tarwick::testing
