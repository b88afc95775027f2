// The patterns box and a patterns file are typed or chosen by the user: the checks must accept
// exactly the Base58 texts with at least one pattern line, count them, and never crash.
#include "FuzzSupport.h"
#include "core/search/PatternText.h"
#include "core/search/StartDecision.h"

#include <algorithm>

using namespace tarwick;

namespace {

bool onlyPatternCharacters(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return kPatternCharacters.find(c) != std::string_view::npos; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    FUZZ_CHECK(IsBase58Text(text) == onlyPatternCharacters(text));
    const int count = CountPatterns(text);
    FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) <= text.size());
    const std::string trimmed = TrimWhiteSpace(text);
    FUZZ_CHECK(trimmed.size() <= text.size());
    FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
    FUZZ_CHECK(TrimWhiteSpace(trimmed) == trimmed);

    // The box source.
    StartInputs box;
    box.patternsFromBox = true;
    box.boxText = std::string(text);
    box.externalApp = "Vanitygen (CPU)";
    const StartDecision fromBox = DecideStart(box, fuzz::scratchFolder());
    const bool boxGoes = !trimmed.empty() && IsBase58Text(trimmed) && CountPatterns(trimmed) > 0;
    FUZZ_CHECK((fromBox.outcome == StartOutcome::Go) == boxGoes);
    if (boxGoes) {
        FUZZ_CHECK(fromBox.patternCount == CountPatterns(trimmed));
        FUZZ_CHECK(fromBox.patternsFileBytes && fromBox.patternsFileBytes->starts_with(trimmed));
    }

    // The file source: the file is read up to its first NUL, untrimmed.
    fuzz::writeScratchFile("patterns file.txt", text);
    StartInputs file;
    file.patternsFromFile = true;
    file.patternsFilePath = "patterns file.txt";
    file.externalApp = "Vanitygen (CPU)";
    const StartDecision fromFile = DecideStart(file, fuzz::scratchFolder());
    const std::string_view content = text.substr(0, text.find('\0'));
    const bool fileGoes = IsBase58Text(content) && CountPatterns(content) > 0;
    FUZZ_CHECK((fromFile.outcome == StartOutcome::Go) == fileGoes);
    FUZZ_CHECK(fromFile.outcome != StartOutcome::MessageBox);
    if (fileGoes) {
        FUZZ_CHECK(fromFile.patternCount == CountPatterns(content));
        FUZZ_CHECK(!fromFile.patternsFileBytes);
    }
    return 0;
}
