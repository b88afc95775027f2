// A pool's reply to a claim comes over the network: whatever it holds, the console line made
// of it is short printable ASCII, and only an exact "OK!" counts as accepted.
#include "FuzzSupport.h"
#include "pool/ClaimReply.h"

#include <algorithm>

using namespace tarwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body = fuzz::bytesOf(data, size);
    const std::string text = pool::claimReplyText(body);
    FUZZ_CHECK(text.size() <= pool::kClaimReplyShown + 3 &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; }));
    FUZZ_CHECK(!pool::claimAccepted(text) || body.find("OK!") != std::string_view::npos);
    return 0;
}
