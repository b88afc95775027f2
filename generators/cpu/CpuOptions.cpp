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
    const program::PlacementOption threads{
        't', [&options](const std::string& value, std::string& message) {
            if (parseThreads(value, options.threads)) {
                return true;
            }
            message = "-t needs a thread count from 1 to 1024, not '" + value + "'";
            return false;
        }};
    return program::parseSearchOptions(args, threads, options, error);
}

} // namespace tarwick::cpu
