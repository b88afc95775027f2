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
    const program::PlacementOption device{
        'D', [&options](const std::string& value, std::string& message) {
            if (opencl_device::parseDeviceAddress(value, options.device)) {
                return true;
            }
            message = "-D needs platform:device numbers such as 0:0, not '" + value + "'";
            return false;
        }};
    return program::parseSearchOptions(args, device, options, error);
}

} // namespace tarwick::opencl
