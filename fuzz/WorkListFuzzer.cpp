// A pool's getWork answer comes over the network: whatever it holds, the miner must take only
// well-formed work on valid curve points, and its warnings must not carry raw control bytes to
// the terminal or the log.
#include "FuzzSupport.h"
#include "pool/WorkList.h"

#include <algorithm>
#include <cmath>

using namespace tarwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    std::vector<std::string> warnings;
    const std::vector<pool::WorkItem> items = pool::parseWorkList(text, warnings);
    FUZZ_CHECK(items.size() + warnings.size() <=
               static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    for (const pool::WorkItem& item : items)
        FUZZ_CHECK(!item.pattern.empty() &&
                   item.pattern.find_first_of(":;\n") == std::string::npos &&
                   item.publicKey[0] == 4 && std::isfinite(item.reward) && item.reward >= 0 &&
                   item.difficulty > 0);
    for (const std::string& warning : warnings)
        FUZZ_CHECK(std::all_of(warning.begin(), warning.end(),
                               [](char c) { return c >= 0x20 && c != 0x7F; }));
    return 0;
}
