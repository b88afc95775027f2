#pragma once

#include "core/found/FoundKeyRecords.h"
#include "core/found/SearchedPatterns.h"

#include <optional>
#include <string>

namespace tarwick {

// Why a record of results.txt must not be stored, or nothing when it holds: its private key is
// a valid WIF key whose address (compressed or not, as the WIF says) is the record's address,
// the address begins with the record's pattern (in any case when the run was case-insensitive)
// and the pattern is one the run searched. searched null: the run is unknown, nothing holds.
std::optional<std::string> whyFoundKeyFails(const FoundKeyRecord& record,
                                            const SearchedPatterns* searched);

} // namespace tarwick
