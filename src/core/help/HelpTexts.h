#pragma once

#include <string>

namespace tarwick {

struct HelpText {
    std::string caption;
    std::string text;
};

// The instructions boxes of the Help menu, one per generator.
HelpText VanitygenCpuHelp();
HelpText VanitygenGpuHelp();
HelpText VanityminerPoolHelp();

} // namespace tarwick
