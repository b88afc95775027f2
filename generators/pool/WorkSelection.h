#pragma once

#include "pool/WorkList.h"

#include <optional>
#include <vector>

namespace tarwick::pool {

// Value of an item as the pool's miners rank them: BTC per billion keys expected,
// reward * 10^9 / difficulty.
double itemValue(const WorkItem& item);

// The items of one public key, searched together: one walk over P + k*G serves them all.
struct WorkGroup {
    std::array<std::uint8_t, 65> publicKey{};
    std::vector<WorkItem> items;
    double value = 0; // the sum of the items' values
};

// Groups the items by public key (in order of first appearance) and returns the group with
// the highest total value; the earlier group wins a tie. Nothing for an empty list.
std::optional<WorkGroup> selectWork(const std::vector<WorkItem>& items);

// Whether two groups ask for the same search: the same key and the same patterns.
bool sameSearch(const WorkGroup& a, const WorkGroup& b);

} // namespace tarwick::pool
