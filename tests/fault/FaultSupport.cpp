#include "FaultSupport.h"

#include <sys/stat.h>

namespace tarwick::fault {

pid_t generatorPid(const std::filesystem::path& folder) {
    const std::string text = test::fileText(folder / "generator-pid.txt");
    return text.ends_with('\n') ? static_cast<pid_t>(std::atoi(text.c_str())) : 0;
}

bool processAlive(pid_t pid) {
    const std::string stat = test::fileText("/proc/" + std::to_string(pid) + "/stat");
    // The state follows the command name in parentheses.
    const auto close = stat.rfind(')');
    return !stat.empty() && (close + 2 >= stat.size() || stat[close + 2] != 'Z');
}

bool fileHolds(const std::filesystem::path& file, std::string_view text) {
    return test::fileText(file).find(text) != std::string::npos;
}

bool isUserOnly(const std::filesystem::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 && (info.st_mode & 07777) == 0600;
}

} // namespace tarwick::fault
