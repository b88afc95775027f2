#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarwick {

struct FoundKeyRecord {
    std::string pattern;
    std::string publicAddress;
    std::string privateKey;

    friend bool operator==(const FoundKeyRecord&, const FoundKeyRecord&) = default;
};

// Every complete record of "results.txt" in file order. Each line is a candidate first line:
// it must hold "Pattern: ", the next "Address: " and the one after "Privkey: " (case-sensitive);
// each value is the text after its label, taken as it stands (trailing blanks kept), and a
// record needs all three values non-empty. A label that does not open its line still counts,
// and the value is the text after the label, never part of the label itself. A CR directly
// before a line feed is not part of the line. Nothing past the last line feed is read: an
// unterminated last line may be a private key cut in the middle (by a writer still at work, or
// one killed half-way), and a cut key stored with its complete address would make the user
// trust an address whose key they do not have.
std::vector<FoundKeyRecord> parseFoundKeyRecords(std::string_view text);

} // namespace tarwick
