#pragma once

#include <string>
#include <string_view>

namespace tarwick::pool {

// The longest claim reply shown on the console (more is cut, with "...").
inline constexpr std::size_t kClaimReplyShown = 200;

// A pool's reply to a claim as the console shows it: without surrounding blanks, at most
// kClaimReplyShown characters, and with every byte that is not printable ASCII (control
// bytes, DEL, and everything from 0x80 on, such as an 8-bit CSI or the bytes of a
// right-to-left override) shown as a blank, so the pool cannot drive the terminal.
std::string claimReplyText(std::string_view body);

// Whether the pool accepted the claim: its reply is "OK!".
bool claimAccepted(std::string_view replyText);

} // namespace tarwick::pool
