#pragma once

#include <cstdint>
#include <string>

namespace tarwick::engine {

// The file found keys are appended to. Private keys are precious: the file is created
// readable by its owner only (mode 0600 on POSIX), every record goes out in one write
// call, so that a reader or a sudden termination never meets half a record, and it is
// flushed to the disk before append() returns.
class ResultFile {
public:
    ResultFile() = default;
    ~ResultFile();
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    // Opens the file for appending, creating it if needed; false with a reason on failure.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return handle_ != kClosed; }
    bool append(const std::string& record, std::string& error);

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed;
};

} // namespace tarwick::engine
