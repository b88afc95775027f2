#include "program/SearchOptions.h"

#include "program/OptionValues.h"

namespace tarwick::program {

bool parseSearchOptions(const std::vector<std::string>& args, const PlacementOption& placement,
                        SearchOptions& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) {
            continue;
        }
        if (arg[0] != '-' || arg.size() == 1) {
            options.patterns.push_back(arg);
            continue;
        }
        const char option = arg[1] == placement.letter ? 'P' : arg[1];
        switch (option) {
        case 'i':
        case 'k':
        case 'v':
        case 'h':
            if (arg.size() != 2) {
                error = "unknown option " + arg;
                return false;
            }
            if (option == 'i') {
                options.caseInsensitive = true;
            } else if (option == 'k') {
                options.keepGoing = true;
            } else if (option == 'v') {
                options.verbose = true;
            } else {
                options.help = true;
            }
            continue;
        case 'P':
        case 'o':
        case 'f':
        case 'F':
            break;
        default:
            error = "unknown option " + arg;
            return false;
        }
        std::string value;
        if (!takeOptionValue(args, i, value, error)) {
            return false;
        }
        switch (option) {
        case 'P':
            if (!placement.take(value, error)) {
                return false;
            }
            break;
        case 'o':
            if (value.empty()) {
                error = "-o needs a file name";
                return false;
            }
            options.outputFile = value;
            break;
        case 'f':
            options.patternFiles.push_back(value);
            break;
        case 'F':
            if (value == "compressed") {
                options.compressed = true;
            } else if (value == "uncompressed") {
                options.compressed = false;
            } else {
                error = "-F takes compressed or uncompressed, not '" + value + "'";
                return false;
            }
            break;
        default:
            break;
        }
    }
    return true;
}

} // namespace tarwick::program
