#include "pool/WorkSelection.h"

#include <algorithm>
#include <set>
#include <string>
#include <utility>

namespace tarwick::pool {

double itemValue(const WorkItem& item) {
    return item.difficulty > 0 ? item.reward * 1e9 / item.difficulty : 0;
}

std::optional<WorkGroup> selectWork(const std::vector<WorkItem>& items) {
    std::vector<WorkGroup> groups;
    for (const WorkItem& item : items) {
        auto group = std::find_if(groups.begin(), groups.end(), [&](const WorkGroup& g) {
            return g.publicKey == item.publicKey;
        });
        if (group == groups.end()) {
            groups.push_back(WorkGroup{item.publicKey, {}, 0});
            group = groups.end() - 1;
        }
        group->items.push_back(item);
        group->value += itemValue(item);
    }
    if (groups.empty())
        return std::nullopt;
    auto best = groups.begin();
    for (auto g = groups.begin() + 1; g != groups.end(); ++g) {
        if (g->value > best->value)
            best = g;
    }
    return std::move(*best);
}

bool sameSearch(const WorkGroup& a, const WorkGroup& b) {
    if (a.publicKey != b.publicKey)
        return false;
    const auto patterns = [](const WorkGroup& g) {
        std::set<std::pair<std::string, std::uint8_t>> out;
        for (const WorkItem& item : g.items)
            out.emplace(item.pattern, item.addressVersion);
        return out;
    };
    return patterns(a) == patterns(b);
}

} // namespace tarwick::pool
