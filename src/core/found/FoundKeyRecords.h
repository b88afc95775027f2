#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarwick {

// Whether the generator may still be appending to the results file. While it runs, an
// unterminated last line may be half written (a private key cut in the middle would be stored
// for good, and the whole key then refused as a duplicate), so it is left for a later pass.
// Once the writer has ended, the last line counts even without a line feed.
enum class ResultsFileState { Growing, Finished };

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
// before a line feed is not part of the line. Nothing past the last line is read.
std::vector<FoundKeyRecord> parseFoundKeyRecords(std::string_view text, ResultsFileState state);

} // namespace tarwick
