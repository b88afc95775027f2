#include "core/found/FoundKeyRecords.h"

#include <gtest/gtest.h>
#include <ostream>

namespace tarwick {

void PrintTo(const FoundKeyRecord& r, std::ostream* out) {
    *out << "{" << r.pattern << " | " << r.publicAddress << " | " << r.privateKey << "}";
}

namespace {

using Records = std::vector<FoundKeyRecord>;

struct Case {
    const char* what;
    std::string_view text;
    Records expected;
};

const FoundKeyRecord kJenny{"1Jenny", "1JennyQwRz", "5KJenny"};
const FoundKeyRecord kMary{"1Mary", "1MaryAbCd", "5KMary"};

TEST(FoundKeyRecords, ParsesTheResultsFile) {
    const Case cases[] = {
        {"one record", "Pattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n", {kJenny}},
        {"CR LF line ends",
         "Pattern: 1Jenny\r\nAddress: 1JennyQwRz\r\nPrivkey: 5KJenny\r\n",
         {kJenny}},
        {"after unrelated lines, off the multiples of three",
         "junk\n\nmore junk\nPattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n",
         {kJenny}},
        {"two records in file order",
         "Pattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n"
         "Pattern: 1Mary\nAddress: 1MaryAbCd\nPrivkey: 5KMary\n",
         {kJenny, kMary}},
        {"same address twice is two records here (the store drops the second)",
         "Pattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n"
         "Pattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n",
         {kJenny, kJenny}},
        {"labels in another case are not labels",
         "pattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n"
         "Pattern: 1Jenny\nADDRESS: 1JennyQwRz\nPrivkey: 5KJenny\n"
         "Pattern: 1Jenny\nAddress: 1JennyQwRz\nprivkey: 5KJenny\n",
         {}},
        {"label without its blank is not a label",
         "Pattern:1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n",
         {}},
        {"empty pattern", "Pattern: \nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n", {}},
        {"empty address", "Pattern: 1Jenny\nAddress: \nPrivkey: 5KJenny\n", {}},
        {"empty key", "Pattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: \n", {}},
        {"lines out of order", "Address: 1JennyQwRz\nPattern: 1Jenny\nPrivkey: 5KJenny\n", {}},
        {"record cut after its address line", "Pattern: 1Jenny\nAddress: 1JennyQwRz\n", {}},
        {"record cut after its pattern line", "x\nPattern: 1Jenny", {}},
        {"key line still being written", "Pattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJe", {}},
        {"key line cut between CR and LF while writing",
         "Pattern: 1Jenny\r\nAddress: 1JennyQwRz\r\nPrivkey: 5KJenny\r",
         {}},
        {"unterminated last line never counts: its key may be cut",
         "Pattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny",
         {}},
        {"trailing blanks stay part of the values",
         "Pattern: 1Jenny \nAddress: 1JennyQwRz\t\nPrivkey: 5KJenny  \n",
         {{"1Jenny ", "1JennyQwRz\t", "5KJenny  "}}},
        {"a label not at the start gives the text after the label",
         "  Pattern: 1Jenny\n> Address: 1JennyQwRz\n\xEF\xBB\xBFPrivkey: 5KJenny\n",
         {kJenny}},
        {"a second pattern line starts the record again",
         "Pattern: 1Old\nPattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n",
         {kJenny}},
        {"values taken as they stand, labels inside values kept",
         "Pattern: 1a Pattern: b\nAddress: 1x\nPrivkey: 5y\n",
         {{"1a Pattern: b", "1x", "5y"}}},
        {"empty file", "", {}},
        {"only line feeds", "\n\n\n\n", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseFoundKeyRecords(c.text), c.expected) << c.what;
}

TEST(FoundKeyRecords, GrowingFilePicksTheRecordUpOnceItsLastLineEnds) {
    const std::string full = "Pattern: 1Jenny\nAddress: 1JennyQwRz\nPrivkey: 5KJenny\n";
    // Every prefix of the file as the generator writes it: no record, or the whole one.
    for (std::size_t length = 0; length <= full.size(); ++length) {
        const Records found = parseFoundKeyRecords(full.substr(0, length));
        if (length == full.size())
            EXPECT_EQ(found, Records{kJenny});
        else
            EXPECT_EQ(found, Records{}) << "after " << length << " bytes";
    }
}

} // namespace
} // namespace tarwick
