#pragma once

#include <filesystem>
#include <string_view>

namespace tarwick::testing {

// Copies the scriptable test generator (TestGenerator.cpp) into workDir/vanitygen under the
// names of the three generators, so the front-end started in workDir runs it for real.
void installTestGenerators(const std::filesystem::path& workDir);

// What the generators started in workDir will do: "generator-script.txt" there.
void writeGeneratorScript(const std::filesystem::path& workDir, std::string_view script);

} // namespace tarwick::testing
