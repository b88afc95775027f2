#pragma once

#include "pool/WorkList.h"

#include <cstddef>
#include <optional>
#include <string>
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

// The most items of one key searched together (the most valuable ones are kept): a pool
// that lists thousands for one key cannot make every search and console line huge.
inline constexpr std::size_t kMaxGroupItems = 256;

// Groups the items by public key (in order of first appearance), keeps each group's
// kMaxGroupItems most valuable items, and returns the group with the highest total value;
// the earlier group wins a tie. Nothing for an empty list.
std::optional<WorkGroup> selectWork(const std::vector<WorkItem>& items);

// The console line that announces a group: its key, value and patterns, the first few of
// them only, so that the line stays short whatever the pool sends.
std::string workLine(const WorkGroup& group);
inline constexpr std::size_t kPatternsShown = 8;

// Whether two groups ask for the same search: the same key and the same patterns.
bool sameSearch(const WorkGroup& a, const WorkGroup& b);

} // namespace tarwick::pool
