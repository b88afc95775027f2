#include "core/help/HelpTexts.h"

#include "core/search/GeneratorNames.h"

namespace tarwick {

namespace {

// Example addresses of the right shape. Their checksums are deliberately wrong, so no wallet
// would ever send coins to them.
constexpr char kJennyExample[] = "1JennyExampLeAddressForHeLpText111";
constexpr char kVarivExample[] = "1VarivUZUExampLeAddressForHeLpText";

} // namespace

HelpText vanitygenCpuHelp() {
    std::string text;
    text += "What is Vanitygen CPU ?\n\n";
    text += "Application to create custom Bitcoin addresses using the CPU.\n";
    text += "For example, you could create an address that starts 1Jenny (pattern) and ask "
            "people to send Bitcoin to ";
    text += kJennyExample;
    text += "\n\n";
    text += "How to use:\n\n";
    text += "1- 'External application' select: 'Vanitygen (CPU)'.\n";
    text += "2- Select 'CPU threads'.\n";
    text += "3- Select 'Patterns to search' RadioButton.\n";
    text += "4- Enter 1Jenny in 'Patterns to search'. Multiple patterns can be added.\n";
    text += "5- Press 'Start search' button.\n\n";
    text += "Instead of using 'Patterns to search' you can use 'Patterns to search in file' to "
            "use an external file that contains the patterns to search.\n\n";
    text += "Tip: If you don't want to search for certain patterns from the list but don't want "
            "to delete them, just delete the number 1 that precedes the pattern.\n";
    return {"Vanitygen CPU", text};
}

HelpText vanitygenGpuHelp() {
    std::string text;
    text += "What is Vanitygen GPU ?\n\n";
    text += "Application to create custom Bitcoin addresses using the GPU of your graphic card. "
            "It must be OpenCL compliant.\n";
    text += "For example, you could create an address that starts 1VarivUZU (pattern) and ask "
            "people to send Bitcoin to ";
    text += kVarivExample;
    text += "\n\n";
    text += "How to use:\n\n";
    text += "1- Check if your GPU supports OpenCL. In menu bar select 'OpenCL / Available OpenCL "
            "platforms'\n";
    text += "It should appear similar to this:\n";
    text += "Available OpenCL platforms :\n";
    text += "0 : [Intel(R) Corporation] Intel(R) OpenCL\n";
    text += "  0 : [Intel(R) Corporation] Intel(R) HD Graphics 5000\n";
    text += "  1 : [Intel(R) Corporation] Intel(R) Core(TM) i5 - 4250U CPU @ 1.30GHz\n\n";
    text += "In this case it has OpenCL platforms 0:0 and 0:1\n\n";
    text += "2- 'External application' select: 'Vanitygen (OpenCL GPU)'.\n";
    text += "3- Select 'OpenCL platform'.\n";
    text += "4- Select 'Patterns to search' RadioButton.\n";
    text += "5- Enter 1VarivUZU in 'Patterns to search'. Multiple patterns can be added.\n";
    text += "6- Press 'Start search' button. In some systems it does not work and may show "
            "errors.\n";
    return {"Vanitygen (OpenCL GPU)", text};
}

HelpText vanityminerPoolHelp(std::string_view poolUrl) {
    std::string text;
    text += "What is Vanityminer pool GPU ? \n\n";
    text += "Vanityminer GPU can be used to automatically claim bounties on sites such as Vanity "
            "Pool:\n";
    text += std::string(poolUrl) + (poolUrl.ends_with('/') ? "" : "/") + "availableWork";
    text += "\n";
    text += "\n(Internet connection required)\n\n";
    text += "How to use:\n\n";
    text += "1- Check if your GPU supports OpenCL in the same way as Vanitygen GPU.\n";
    text += "2- 'External application' select: 'Vanityminer pool (OpenCL GPU)'.\n";
    text += "3- Select 'OpenCL platform'.\n";
    text += "4- Enter in 'Reward Bitcoin address' a Bitcoin address that you own.\n";
    text += "5- Press 'Start search' button. In some systems it does not work and may show "
            "errors.\n\n";
    text += "If you find any of the patterns, you will be rewarded at 'Reward Bitcoin address'.\n";
    return {"Vanityminer pool (OpenCL GPU)", text};
}

} // namespace tarwick
