// The patterns box and a patterns file are typed or chosen by the user: the checks must accept
// exactly the Base58 texts with at least one pattern line, count them, and never crash.
#include "FuzzSupport.h"
#include "core/search/PatternText.h"
#include "core/search/StartDecision.h"

using namespace tarwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    FUZZ_CHECK(IsBase58Text(text) ==
               (text.find_first_not_of(kPatternCharacters) == std::string_view::npos));
    const int count = CountPatterns(text);
    FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) <= text.size());
    const std::string trimmed = trimWhiteSpace(text);
    FUZZ_CHECK(text.find(trimmed) != std::string_view::npos && trimWhiteSpace(trimmed) == trimmed);

    // From the box (trimmed), and from a file (read up to its first NUL, untrimmed).
    fuzz::writeScratchFile("patterns file.txt", text);
    const std::string_view content = text.substr(0, text.find('\0'));
    for (const bool fromBox : {true, false}) {
        StartInputs in;
        in.patternsFromBox = fromBox, in.patternsFromFile = !fromBox;
        (fromBox ? in.boxText : in.patternsFilePath) = fromBox ? text : "patterns file.txt";
        in.externalApp = "Vanitygen (CPU)";
        const StartDecision decision = decideStart(in, fuzz::scratchFolder());
        const std::string_view read = fromBox ? std::string_view(trimmed) : content;
        const bool goes = IsBase58Text(read) && CountPatterns(read) > 0;
        FUZZ_CHECK((decision.outcome == StartOutcome::Go) == goes);
        FUZZ_CHECK(fromBox || decision.outcome != StartOutcome::MessageBox);
        FUZZ_CHECK(!goes || decision.patternCount == CountPatterns(read));
        // The box's patterns go to a file of their own; a chosen file is used as it is.
        FUZZ_CHECK(!goes || (fromBox ? decision.patternsFileBytes &&
                                           decision.patternsFileBytes->starts_with(trimmed)
                                     : !decision.patternsFileBytes));
    }
    return 0;
}
