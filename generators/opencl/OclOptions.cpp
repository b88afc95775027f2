#include "opencl/OclOptions.h"

namespace tarwick::opencl {

const char* oclUsage() {
    return "Usage: oclvanitygen.exe [options] [pattern ...]\n"
           "Searches for Bitcoin addresses that begin with the given patterns on an OpenCL\n"
           "device.\n"
           "Options:\n"
           "  -D P:D   use device D of OpenCL platform P (default 0:0); a device that does\n"
           "           not exist lists the available platforms and devices\n"
           "  -i       match patterns without regard to case\n"
           "  -k       keep going after a match\n"
           "  -o FILE  append every found key to FILE\n"
           "  -f FILE  read patterns from FILE, one per line\n"
           "  -F TYPE  key format: compressed (default) or uncompressed\n"
           "  -v       name the device and the launch shape on standard error\n"
           "  -h       show this help\n";
}

bool parseOclOptions(const std::vector<std::string>& args, OclOptions& options,
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
        case 'D':
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
        case 'D':
            if (!parseDeviceAddress(value, options.device)) {
                error = "-D needs platform:device numbers such as 0:0, not '" + value + "'";
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

} // namespace tarwick::opencl
