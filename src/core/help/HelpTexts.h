#pragma once

#include <string>
#include <string_view>

namespace tarwick {

struct HelpText {
    std::string caption;
    std::string text;
};

// The instructions boxes of the Help menu, one per generator.
HelpText vanitygenCpuHelp();
HelpText vanitygenGpuHelp();
// The pool text names the server the miner is given (pool_url of Settings.ini, or the built-in).
HelpText vanityminerPoolHelp(std::string_view poolUrl);

} // namespace tarwick
