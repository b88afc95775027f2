#include "core/form/ChoiceLists.h"

#include <cctype>
#include <climits>

namespace tarwick {

std::vector<std::string> openClDeviceItems() {
    std::vector<std::string> items;
    for (int platform = 0; platform <= 3; ++platform)
        for (int device = 0; device <= 5; ++device)
            items.push_back(std::to_string(platform) + ":" + std::to_string(device));
    return items;
}

std::vector<std::string> cpuThreadItems(int logicalProcessors) {
    std::vector<std::string> items;
    for (int n = 1; n <= logicalProcessors; ++n)
        items.push_back(std::to_string(n));
    return items;
}

int selectableIndex(int storedIndex, int itemCount) {
    if (itemCount <= 0)
        return -1;
    return storedIndex >= 0 && storedIndex < itemCount ? storedIndex : 0;
}

int leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX)
            return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace tarwick
