#pragma once

#include <cstdio>
#include <string>

namespace tarwick::pool {

// The miner's standard output: whole lines, and one status line refreshed in place with a
// carriage return. A line printed while the status line is open starts on a fresh line.
// Every write is flushed, since the front-end reads the output from a file as it grows.
class Console {
public:
    explicit Console(std::FILE* out) : out_(out) {}

    void line(const std::string& text);
    // The status groups, padded to 79 characters so that a shorter refresh covers a longer
    // one.
    void status(const std::string& groups);
    // Ends an open status line.
    void close();

private:
    void write(const std::string& text);

    std::FILE* out_;
    bool statusOpen_ = false;
};

} // namespace tarwick::pool
