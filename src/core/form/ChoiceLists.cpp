#include "core/form/ChoiceLists.h"

namespace tarwick {

std::vector<std::string> openClDeviceItems() {
    std::vector<std::string> items;
    for (int platform = 0; platform <= 3; ++platform) {
        for (int device = 0; device <= 5; ++device) {
            items.push_back(std::to_string(platform) + ":" + std::to_string(device));
        }
    }
    return items;
}

std::vector<std::string> cpuThreadItems(int logicalProcessors) {
    std::vector<std::string> items;
    for (int n = 1; n <= logicalProcessors; ++n) {
        items.push_back(std::to_string(n));
    }
    return items;
}

int selectableIndex(int storedIndex, int itemCount) {
    if (itemCount <= 0) {
        return -1;
    }
    return storedIndex >= 0 && storedIndex < itemCount ? storedIndex : 0;
}

} // namespace tarwick
