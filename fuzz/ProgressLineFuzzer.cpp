// The tail of stdout.log is whatever the generator printed: status groups, errors, binary
// noise or a cut group. The progress line is built from bracketed groups only and stays small.
#include "FuzzSupport.h"
#include "core/output/ProgressLine.h"

#include <algorithm>

using namespace tarwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    // What the run loop hands over, and all the file reader may read: the last 301 bytes.
    const std::string_view tail =
        text.substr(text.size() - std::min(text.size(), kProgressTailLength));
    const std::string line = progressLineFromTail(tail);
    FUZZ_CHECK(ReadProgressLine(fuzz::writeScratchFile("stdout.log", text)) == line);
    // "[" group "]  " for each group: every group needs a '[' of the tail and brings its bytes.
    const auto opens = static_cast<std::size_t>(std::count(tail.begin(), tail.end(), '['));
    FUZZ_CHECK(line.empty() || (opens > 0 && line.size() <= tail.size() + 3 * opens &&
                                line.front() == '[' && line.ends_with("]  ")));
    return 0;
}
