#pragma once

#include "core/found/CheckFoundKeys.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_set>

namespace tarwick {

// CheckFoundKeys of the run loop, on "results.txt" pass after pass: each pass reads what the
// generator wrote since the last one, so its cost does not grow with the file. The last two
// complete lines and an unfinished one are read again, since a record may still begin there.
class FoundKeyScanner {
public:
    explicit FoundKeyScanner(std::filesystem::path resultsFile);

    // Offers every complete record not seen yet to the store and reports the new addresses;
    // true when at least one was added. A missing or irregular file finds nothing and is never
    // opened (a FIFO would block the window).
    bool check(FoundKeyTarget& target);
    // A new run replaced the file: the next pass reads it from its start.
    void restart() {
        offset_ = 0;
        refused_.clear();
    }
    // The file holds a record that failed its check: it must be kept, not deleted.
    bool holdsRefusedKeys() const { return !refused_.empty(); }
    // Where the next pass starts reading.
    std::uintmax_t offset() const { return offset_; }

private:
    std::filesystem::path file_;
    std::uintmax_t offset_ = 0;
    std::unordered_set<std::string> refused_;
};

} // namespace tarwick
