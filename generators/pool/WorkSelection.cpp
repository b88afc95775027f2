#include "pool/WorkSelection.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace tarwick::pool {

double itemValue(const WorkItem& item) {
    return item.difficulty > 0 ? item.reward * 1e9 / item.difficulty : 0;
}

std::optional<WorkGroup> selectWork(const std::vector<WorkItem>& items) {
    std::vector<WorkGroup> groups;
    std::map<std::array<std::uint8_t, 65>, std::size_t> groupOfKey;
    for (const WorkItem& item : items) {
        const auto [at, added] = groupOfKey.emplace(item.publicKey, groups.size());
        if (added) {
            groups.push_back(WorkGroup{item.publicKey, {}, 0});
        }
        groups[at->second].items.push_back(item);
    }
    const auto moreValuable = [](const WorkItem& a, const WorkItem& b) {
        return itemValue(a) > itemValue(b);
    };
    for (WorkGroup& group : groups) {
        if (group.items.size() > kMaxGroupItems) {
            std::stable_sort(group.items.begin(), group.items.end(), moreValuable);
            group.items.resize(kMaxGroupItems);
        }
        for (const WorkItem& item : group.items) {
            group.value += itemValue(item);
        }
    }
    if (groups.empty()) {
        return std::nullopt;
    }
    auto best = groups.begin();
    for (auto g = groups.begin() + 1; g != groups.end(); ++g) {
        if (g->value > best->value) {
            best = g;
        }
    }
    return std::move(*best);
}

std::string workLine(const WorkGroup& group) {
    const std::string hex = upperHex(group.publicKey.data(), group.publicKey.size());
    char value[32];
    std::snprintf(value, sizeof value, "%.6g", group.value);
    std::string text = "Work: " + std::to_string(group.items.size()) +
                       (group.items.size() == 1 ? " pattern" : " patterns") + " for public key " +
                       hex.substr(0, 10) + ".." + hex.substr(hex.size() - 6) + ", " + value +
                       " BTC/Gkey:";
    for (std::size_t i = 0; i < group.items.size() && i < kPatternsShown; ++i) {
        char reward[32];
        std::snprintf(reward, sizeof reward, "%.8g", group.items[i].reward);
        text += " " + group.items[i].pattern + " (" + reward + " BTC)";
    }
    if (group.items.size() > kPatternsShown) {
        text += " and " + std::to_string(group.items.size() - kPatternsShown) + " more";
    }
    return text;
}

bool sameSearch(const WorkGroup& a, const WorkGroup& b) {
    if (a.publicKey != b.publicKey) {
        return false;
    }
    const auto patterns = [](const WorkGroup& g) {
        std::set<std::pair<std::string, std::uint8_t>> out;
        for (const WorkItem& item : g.items) {
            out.emplace(item.pattern, item.addressVersion);
        }
        return out;
    };
    return patterns(a) == patterns(b);
}

} // namespace tarwick::pool
