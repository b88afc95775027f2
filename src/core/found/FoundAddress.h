#pragma once

#include <string>

namespace tarwick {

// One found vanity address. The three texts are single-byte and kept exactly as the generator
// (or Settings.ini) gave them: nothing trims, validates or converts them.
struct FoundAddress {
    bool isNew = false; // found during this program run; never written to a file
    std::string pattern;
    std::string publicAddress; // the record's identity in the store
    std::string privateKey;

    friend bool operator==(const FoundAddress&, const FoundAddress&) = default;
};

} // namespace tarwick
