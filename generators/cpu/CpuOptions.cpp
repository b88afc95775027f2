#include "cpu/CpuOptions.h"

#include "program/OptionValues.h"

namespace tarwick::cpu {

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
            if (const auto count = program::decimalValue(value, 1024); count && *count > 0) {
                options.threads = *count;
                return true;
            }
            message = "-t needs a thread count from 1 to 1024, not '" + value + "'";
            return false;
        }};
    return program::parseSearchOptions(args, threads, options, error);
}

} // namespace tarwick::cpu
