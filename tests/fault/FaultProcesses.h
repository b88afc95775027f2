#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tarwick::fault {

// A fresh working folder under the system's temporary folder, removed at the end.
class Folder {
public:
    Folder();
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

int envInt(const char* name, int fallback);
std::string fileBytes(const std::filesystem::path& file);

// Starts the program in the folder, its output going to "program-output.txt" there.
pid_t startProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& folder);
void killAndReap(pid_t pid);

struct Finished {
    bool exited = false; // false: killed, or still running at the deadline (then killed)
    int status = -1;
    std::string output;
};
Finished runProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& folder, std::chrono::seconds deadline);

// The process id the test generator wrote in the folder, once it is there; 0 at the deadline.
pid_t waitForGeneratorPid(const std::filesystem::path& folder, std::chrono::milliseconds deadline);
// True once the process has ended (a zombie no one has reaped yet counts as ended).
bool waitUntilGone(pid_t pid, std::chrono::milliseconds deadline);
bool processAlive(pid_t pid);

} // namespace tarwick::fault
