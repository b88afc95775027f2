#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarwick::program {

// A number in decimal digits only (no sign, no blanks) of at most `largest`.
inline std::optional<unsigned> decimalValue(std::string_view text, unsigned largest) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value > largest) {
        return std::nullopt;
    }
    return value;
}

// The value of the option at args[at]: attached to it ("-t4") or the next argument ("-t 4"),
// which `at` then moves past. False, with a message, when there is none.
inline bool takeOptionValue(const std::vector<std::string>& args, std::size_t& at,
                            std::string& value, std::string& error) {
    const std::string& option = args[at];
    if (option.size() > 2) {
        value = option.substr(2);
    } else if (at + 1 < args.size()) {
        value = args[++at];
    } else {
        error = std::string("option -") + option[1] + " needs a value";
        return false;
    }
    return true;
}

} // namespace tarwick::program
