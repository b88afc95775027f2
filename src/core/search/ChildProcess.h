#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarwick {

// How to start a generator: never through a shell, always from an argument list.
struct ChildStart {
    std::string program;                // relative paths are taken from workingDirectory
    std::vector<std::string> arguments; // each entry reaches the child as one argument
    std::filesystem::path workingDirectory;
    std::filesystem::path outputLog; // standard output and error, merged, appended here
};

// The generator process as the run sees it. No standard input, no window.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;
    // False when the program could not be started; the log may then not exist.
    virtual bool start(const ChildStart& request) = 0;
    // True from a successful start until the child has ended (by itself or killed).
    virtual bool running() const = 0;
    // Ends the child at once; asynchronous, the end is seen by a later pass. Safe at any time.
    virtual void kill() = 0;
};

} // namespace tarwick
