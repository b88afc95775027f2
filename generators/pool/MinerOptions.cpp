#include "pool/MinerOptions.h"

#include "program/OptionValues.h"

#include <climits>

namespace tarwick::pool {

namespace {

bool parsePositive(const std::string& text, unsigned& out) {
    const std::optional<unsigned> value = program::decimalValue(text, UINT_MAX);
    if (!value || *value == 0) {
        return false;
    }
    out = *value;
    return true;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

bool parseMinerOptions(const std::vector<std::string>& args, MinerOptions& options,
                       std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) {
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            error = "unexpected argument '" + arg + "' (the pool chooses the patterns)";
            return false;
        }
        const char option = arg[1];
        if (option == 'h' && arg.size() == 2) {
            options.help = true;
            continue;
        }
        if (std::string("uaDitT").find(option) == std::string::npos) {
            error = "unknown option '" + arg + "'";
            return false;
        }
        std::string value;
        if (!program::takeOptionValue(args, i, value, error)) {
            return false;
        }
        switch (option) {
        case 'u':
            if (!startsWith(value, "http://") && !startsWith(value, "https://")) {
                error = "the pool URL must begin with https:// or http://";
                return false;
            }
            options.poolUrl = value;
            break;
        case 'a':
            options.rewardAddress = value;
            break;
        case 'D':
            options.device = value;
            break;
        case 'i':
            if (!parsePositive(value, options.refetchSeconds)) {
                error = "-i needs a number of seconds above 0";
                return false;
            }
            break;
        case 't':
            if (!parsePositive(value, options.threads)) {
                error = "-t needs a number of threads above 0";
                return false;
            }
            break;
        case 'T':
            if (!parsePositive(value, options.timeoutSeconds)) {
                error = "-T needs a number of seconds above 0";
                return false;
            }
            break;
        }
    }
    if (options.help) {
        return true;
    }
    if (options.poolUrl.empty()) {
        error = "no pool URL given (-u)";
        return false;
    }
    if (options.rewardAddress.empty()) {
        error = "no reward address given (-a)";
        return false;
    }
    return true;
}

const char* minerUsage() {
    return "Usage: oclvanityminer64 -u URL -a ADDRESS [-D P:D] [-i SECONDS] [-t N] [-T SECONDS]\n"
           "Searches for the split keys a vanity-address bounty pool asks for and claims the\n"
           "rewards for ADDRESS.\n"
           "  -u URL      the pool's server root (https://...)\n"
           "  -a ADDRESS  the Bitcoin address that receives the rewards\n"
           "  -D P:D      search on this OpenCL platform and device; without it, or when it\n"
           "              cannot be used, the search runs on the CPU\n"
           "  -i SECONDS  fetch the work list again this often (default 300)\n"
           "  -t N        CPU threads when searching on the CPU (default: all)\n"
           "  -T SECONDS  time limit of each request to the pool (default 30)\n"
           "  -h          this text\n";
}

} // namespace tarwick::pool
