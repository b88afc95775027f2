#pragma once

#include <string>
#include <string_view>

namespace tarwick {

struct HelpText {
    std::string caption;
    std::string text;
};

// The instructions boxes of the Help menu, one per generator.
HelpText VanitygenCpuHelp();
HelpText VanitygenGpuHelp();
// The pool text names the server the miner is given (pool_url of Settings.ini, or the built-in).
HelpText VanityminerPoolHelp(std::string_view poolUrl);

} // namespace tarwick
