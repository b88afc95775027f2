#pragma once

#include <string>
#include <string_view>

namespace tarwick {

// The 58 Base58 characters followed by CR and LF; also the text of the "Valid characters" hints.
inline constexpr std::string_view kPatternCharacters =
    "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz\r\n";

// True when every character of the text is a Base58 character, CR or LF (empty text too).
bool IsBase58Text(std::string_view text);

// Number of lines whose first character is "1"; CRs are ignored, the last line needs no LF.
int CountPatterns(std::string_view text);

// The text without space, tab, CR, LF, vertical tab and form feed at either end.
std::string trimWhiteSpace(std::string_view text);

} // namespace tarwick
