// results.txt is written by a generator that may be buggy, hostile or killed half-way: the
// record scan must take only whole labelled records, and a file still growing must never yield
// a record from a line that has not ended yet.
#include "FuzzSupport.h"
#include "core/found/FoundKeyRecords.h"

#include <algorithm>

using namespace tarwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    const auto found = parseFoundKeyRecords(text);

    // Nothing after the last line feed is read: it may be a key cut in the middle.
    FUZZ_CHECK(parseFoundKeyRecords(text.substr(0, text.rfind('\n') + 1)) == found);
    FUZZ_CHECK(found.size() <=
               static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    // Values stand as written (a second CR before the line feed stays), within one line.
    for (const FoundKeyRecord& record : found)
        for (const std::string* value :
             {&record.pattern, &record.publicAddress, &record.privateKey})
            FUZZ_CHECK(!value->empty() && value->find('\n') == std::string::npos);

    // Whatever the file held, appending a complete record makes it the scan's last find.
    const std::string more = std::string(text) + (text.empty() || text.ends_with('\n') ? "" : "\n");
    const auto appended =
        parseFoundKeyRecords(more + "Pattern: 1Fz\nAddress: 1FzAppended\nPrivkey: 5Appended\n");
    FUZZ_CHECK(!appended.empty() &&
               appended.back() == (FoundKeyRecord{"1Fz", "1FzAppended", "5Appended"}));
    return 0;
}
