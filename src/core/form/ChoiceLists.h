#pragma once

#include <string>
#include <vector>

namespace tarwick {

// The texts of the "OpenCL platform:" list: "0:0" to "3:5", platform by platform, whatever
// hardware the machine has.
std::vector<std::string> openClDeviceItems();

// "1" up to the number of logical processors; empty when the system reports none.
std::vector<std::string> cpuThreadItems(int logicalProcessors);

// The item to select for an index read from the settings. An index outside the list (a thread
// count saved on a bigger machine, a hand-edited file) falls back to the first item, so the
// form always ends with a defined selection; -1 only when the list is empty.
int selectableIndex(int storedIndex, int itemCount);

} // namespace tarwick
