#pragma once

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

namespace tarwick::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempFolder {
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarwick-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~TempFolder() { std::filesystem::remove_all(path_, ignored_); }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    std::filesystem::path path_;
    std::error_code ignored_;
};

// Empty when there is no regular file (reading a folder would throw).
inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return is_regular_file(file) ? std::string(std::istreambuf_iterator<char>(in), {}) : "";
}

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

// The entry's own permission bits (a link's, never what it names).
inline unsigned modeOf(const std::filesystem::path& file) {
    return static_cast<unsigned>(std::filesystem::symlink_status(file).permissions() &
                                 std::filesystem::perms::mask);
}

inline auto entriesIn(const std::filesystem::path& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

// Makes every write past the given size fail with EFBIG while it lives: a real failure in the
// middle of writing a file, which works even for root. Ignoring SIGXFSZ lets write() fail.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        const rlimit limited{bytes, previous_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, handler_);
    }
    void (*handler_)(int);
    rlimit previous_{};
};

} // namespace tarwick::testing
