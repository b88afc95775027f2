#include "pool/ClaimReply.h"

namespace tarwick::pool {

std::string claimReplyText(std::string_view body) {
    const auto first = body.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = body.find_last_not_of(" \t\r\n");
    std::string out(body.substr(first, last - first + 1));
    const bool cut = out.size() > kClaimReplyShown;
    if (cut) {
        out.resize(kClaimReplyShown);
    }
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F) {
            c = ' ';
        }
    }
    return cut ? out + "..." : out;
}

bool claimAccepted(std::string_view replyText) {
    return replyText == "OK!";
}

} // namespace tarwick::pool
