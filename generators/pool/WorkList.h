#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarwick::pool {

// One bounty the pool offers: an address pattern wanted for the requester's public key P.
// Whoever finds k such that the address of P + k*G begins with the pattern earns the
// reward; the requester alone holds a (P = a*G) and so alone gets the full key a + k.
struct WorkItem {
    std::string pattern;
    std::array<std::uint8_t, 65> publicKey{}; // P, always uncompressed (04 || x || y)
    std::uint8_t addressVersion = 0;          // the network's version byte
    double reward = 0;                        // BTC
    std::string comment;
    double difficulty = 0; // expected keys to try for the pattern alone
};

// Reads a getWork answer: one item per line ending in LF (CR LF accepted), each
// "<pattern>:<pubkey-hex>:<addrtype>:<reward>;<comment>" (the ";comment" part may be
// missing). The public key may be compressed or uncompressed hex; it must be a point of
// the curve. Skipped, each with a line in `warnings`: malformed lines, keys off the curve,
// patterns no address of that version can begin with, and a last line without LF (it may
// have been cut off in transit). An exact repeat of pattern, key and reward is ignored
// silently. Items keep the order of the text.
std::vector<WorkItem> parseWorkList(std::string_view text, std::vector<std::string>& warnings);

// Upper-case hex of bytes, as the pool's solve request spells keys.
std::string upperHex(const std::uint8_t* bytes, std::size_t length);

} // namespace tarwick::pool
