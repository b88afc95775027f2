#include "core/found/FoundKeyScanner.h"

#include "core/files/FileBytes.h"

namespace tarwick {

namespace {

// Where the second-last complete line of the text begins; 0 when it has fewer than three.
std::size_t startOfLastTwoLines(const std::string& text) {
    std::size_t feeds = 0;
    for (std::size_t at = text.size(); at > 0; --at) {
        if (text[at - 1] != '\n') {
            continue;
        }
        if (++feeds == 3) {
            return at;
        }
    }
    return 0;
}

} // namespace

FoundKeyScanner::FoundKeyScanner(std::filesystem::path resultsFile)
    : file_(std::move(resultsFile)) {}

bool FoundKeyScanner::check(FoundKeyTarget& target) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file_, error)) {
        offset_ = 0;
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(file_, error);
    // A shorter file is a new one: a new run deleted the old and its generator began again.
    if (error || size < offset_) {
        offset_ = 0;
    }
    const std::optional<std::string> read = readFileBytes(file_, offset_);
    if (!read) {
        return false;
    }
    const std::string& text = *read;
    target.refused = &refused_;
    const bool added = checkFoundKeysInText(text, target);
    offset_ += startOfLastTwoLines(text);
    return added;
}

} // namespace tarwick
