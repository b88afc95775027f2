#pragma once

#include "core/search/GeneratorNames.h"

#include <string>

namespace tarwick {

// The part of the main form's state that Settings.ini keeps, with its values before any is
// loaded. Preferences owns the one the form shows.
// On loading, the three indexes are the combo entries to select at start-up; once the form is
// filled they follow the combos' current selections, and rewardAddress and savedPatterns the
// current texts of the reward box and the patterns box.
struct ViewSettings {
    int appIndex = 0;     // "External application:" entry; "external_app"
    int openclIndex = 0;  // "OpenCL platform:" entry, 6 x platform + device; "opencl_device"
    int threadsIndex = 0; // "CPU threads:" entry, thread count - 1; "threads_cpu"
    bool caseInsensitive = false;
    bool scrollLockLight = false;
    bool playSound = false;
    bool avoidOverheating = false;
    bool patternsFromBox = true;
    bool patternsFromFile = false;
    std::string patternsFilePath;
    std::string rewardAddress;
    // "pool_url": the bounty pool the miner works for. Only read: a user who points the program
    // at another pool adds the key by hand, and the file keeps it.
    std::string poolUrl{kDefaultPoolUrl};
    // Loaded: the patterns box text with its line breaks as CR LF. Saved: the box's text as it
    // stands (trimmed and encoded on saving).
    std::string savedPatterns;

    friend bool operator==(const ViewSettings&, const ViewSettings&) = default;
};

} // namespace tarwick
