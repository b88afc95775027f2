#include "core/found/FoundKeyRecords.h"

#include <optional>

namespace tarwick {
namespace {

constexpr std::string_view kPatternLabel = "Pattern: ";
constexpr std::string_view kAddressLabel = "Address: ";
constexpr std::string_view kPrivkeyLabel = "Privkey: ";

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t feed = text.find('\n', start);
        if (feed == std::string_view::npos) {
            break;
        }
        std::string_view line = text.substr(start, feed - start);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = feed + 1;
    }
    return lines;
}

std::optional<std::string_view> valueAfter(std::string_view line, std::string_view label) {
    const std::size_t at = line.find(label);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(at + label.size());
}

} // namespace

std::vector<FoundKeyRecord> parseFoundKeyRecords(std::string_view text) {
    const std::vector<std::string_view> lines = splitLines(text);
    std::vector<FoundKeyRecord> records;
    for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
        const auto pattern = valueAfter(lines[i], kPatternLabel);
        if (!pattern || pattern->empty()) {
            continue;
        }
        const auto address = valueAfter(lines[i + 1], kAddressLabel);
        const auto key = valueAfter(lines[i + 2], kPrivkeyLabel);
        if (!address || !key || address->empty() || key->empty()) {
            continue;
        }
        records.push_back({std::string(*pattern), std::string(*address), std::string(*key)});
    }
    return records;
}

} // namespace tarwick
