#include "FaultProcesses.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarwick::fault {

Folder::Folder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tarwick-fault-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

Folder::~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

int envInt(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

pid_t startProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& folder) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const std::string output = (folder / "program-output.txt").string();
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    // The child: only what is safe between fork and exec.
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    if (::chdir(folder.c_str()) != 0)
        ::_exit(126);
    const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd >= 0) {
        ::dup2(fd, 1);
        ::dup2(fd, 2);
    }
    ::execv(program.c_str(), pointers.data());
    ::_exit(127);
}

void killAndReap(pid_t pid) {
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

Finished runProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& folder, std::chrono::seconds deadline) {
    std::filesystem::remove(folder / "program-output.txt");
    const pid_t pid = startProgram(program, arguments, folder);
    Finished finished;
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            finished.exited = WIFEXITED(status);
            finished.status = finished.exited ? WEXITSTATUS(status) : -1;
            break;
        }
        if (std::chrono::steady_clock::now() > end) {
            killAndReap(pid);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    finished.output = fileBytes(folder / "program-output.txt");
    return finished;
}

pid_t waitForGeneratorPid(const std::filesystem::path& folder, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        const std::string text = fileBytes(folder / "generator-pid.txt");
        if (text.ends_with('\n'))
            return static_cast<pid_t>(std::atoi(text.c_str()));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

bool processAlive(pid_t pid) {
    const std::string stat = fileBytes("/proc/" + std::to_string(pid) + "/stat");
    if (stat.empty())
        return false;
    // The state follows the command name in parentheses.
    const auto close = stat.rfind(')');
    return close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] != 'Z';
}

bool waitUntilGone(pid_t pid, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (processAlive(pid)) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace tarwick::fault
