#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarwick {

// How to start a generator: never through a shell, always from an argument list.
struct ChildStart {
    std::string program;                // relative paths are taken from workingDirectory
    std::vector<std::string> arguments; // each entry reaches the child as one argument
    std::filesystem::path workingDirectory;
    std::filesystem::path outputLog; // the log's name, for what is told about it
    // The open log that standard output and error, merged, are written to; -1: discarded.
    int outputFile = -1;
};

// The generator process as the run sees it. No standard input, no window.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;
    // False when the program could not be started; the log may then not exist.
    virtual bool start(const ChildStart& request) = 0;
    // True from a successful start until the child has ended (by itself or killed).
    virtual bool running() const = 0;
    // The exit code of the last child once it has ended by itself; nothing while it runs,
    // after it was killed or crashed, or before any start.
    virtual std::optional<int> exitCode() const = 0;
    // Ends the child at once; asynchronous, the end is seen by a later pass. Safe at any time.
    virtual void kill() = 0;
};

} // namespace tarwick
