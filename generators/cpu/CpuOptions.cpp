#include "cpu/CpuOptions.h"

namespace tarwick::cpu {

namespace {

bool parseThreads(const std::string& text, unsigned& threads) {
    if (text.empty() || text.size() > 6) {
        return false;
    }
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 1024) {
        return false;
    }
    threads = value;
    return true;
}

} // namespace

const char* cpuUsage() {
    return "Usage: vanitygen64.exe [options] [pattern ...]\n"
           "Searches for Bitcoin addresses that begin with the given patterns.\n"
           "Options:\n"
           "  -t N     use N threads (default: one per logical processor)\n"
           "  -i       match patterns without regard to case\n"
           "  -k       keep going after a match\n"
           "  -o FILE  append every found key to FILE\n"
           "  -f FILE  read patterns from FILE, one per line\n"
           "  -F TYPE  key format: compressed (default) or uncompressed\n"
           "  -v       name the hashing and field arithmetic paths on standard error\n"
           "  -h       show this help\n";
}

bool parseCpuOptions(const std::vector<std::string>& args, CpuOptions& options,
                     std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) {
            continue;
        }
        if (arg[0] != '-' || arg.size() == 1) {
            options.patterns.push_back(arg);
            continue;
        }
        const char option = arg[1];
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
        case 't':
        case 'o':
        case 'f':
        case 'F':
            break;
        default:
            error = "unknown option " + arg;
            return false;
        }
        std::string value;
        if (arg.size() > 2) {
            value = arg.substr(2);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = std::string("option -") + option + " needs a value";
            return false;
        }
        switch (option) {
        case 't':
            if (!parseThreads(value, options.threads)) {
                error = "-t needs a thread count from 1 to 1024, not '" + value + "'";
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

} // namespace tarwick::cpu
