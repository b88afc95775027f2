#include "core/settings/SettingsMapping.h"

#include <array>
#include <climits>
#include <map>
#include <optional>

namespace tarwick {
namespace {

// The three keys of one found-address slot, "%d" filled with the slot number.
constexpr std::array<std::string_view, 3> kSlotPrefixes = {
    "BTC_PATTERN_PUB_ENCON_", "BTC_ADDR_PUB_ENCON_", "BTC_KEY_PRIV_ENCON_"};

std::string slotKey(std::size_t field, std::size_t slot) {
    return std::string(kSlotPrefixes[field]) + std::to_string(slot);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

// The slot number of a found-address key name, as the program writes it ("%d": no sign, no
// leading zero); nothing for any other name.
std::optional<std::size_t> slotOf(std::string_view name) {
    for (const std::string_view prefix : kSlotPrefixes) {
        if (name.size() <= prefix.size() ||
            !equalsIgnoringCase(name.substr(0, prefix.size()), prefix)) {
            continue;
        }
        const std::string_view digits = name.substr(prefix.size());
        if (digits.size() > 9 || (digits.size() > 1 && digits.front() == '0')) {
            return std::nullopt;
        }
        std::size_t slot = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            slot = slot * 10 + static_cast<std::size_t>(c - '0');
        }
        return slot;
    }
    return std::nullopt;
}

// A profile line cannot hold a line break or NUL; a found key must still get its slot, or the
// slots after it would be cut off, so such bytes become blanks.
std::string oneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\r' || c == '\n' || c == '\0') {
            c = ' ';
        }
    }
    return out;
}

struct IntKey {
    std::string_view name;
    std::string_view fallback;
    int ViewSettings::*member;
};
struct FlagKey {
    std::string_view name;
    std::string_view fallback;
    bool ViewSettings::*member;
};

constexpr std::array<IntKey, 3> kIndexKeys = {{
    {"external_app", "0", &ViewSettings::appIndex},
    {"opencl_device", "0", &ViewSettings::openclIndex},
    {"threads_cpu", "0", &ViewSettings::threadsIndex},
}};
// "scrollLocl" is the spelling of every file the program has ever written.
constexpr std::array<FlagKey, 6> kFlagKeys = {{
    {"case_insensitive", "0", &ViewSettings::caseInsensitive},
    {"scrollLocl_light_on", "0", &ViewSettings::scrollLockLight},
    {"play_sound_found", "0", &ViewSettings::playSound},
    {"avoid_overheating", "0", &ViewSettings::avoidOverheating},
    {"select_edit_patt", "1", &ViewSettings::patternsFromBox},
    {"select_file_patt", "0", &ViewSettings::patternsFromFile},
}};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void loadFoundAddresses(const ProfileFile& profile, FoundAddressStore& store) {
    std::size_t slot = 0;
    for (;; ++slot) {
        std::string pattern = profile.valueOr(kFoundSection, slotKey(0, slot), "");
        if (pattern.empty()) {
            break;
        }
        store.AddFoundAddress(false, std::move(pattern),
                              profile.valueOr(kFoundSection, slotKey(1, slot), ""),
                              profile.valueOr(kFoundSection, slotKey(2, slot), ""));
    }
    // Slots beyond a gap: a crash of a key-by-key writer or a hand edit can leave them, and
    // they may hold private keys that the next save would otherwise delete.
    std::map<std::size_t, std::array<std::string, 3>> beyond;
    for (const std::string& name : profile.keys(kFoundSection)) {
        const auto number = slotOf(name);
        if (!number || *number < slot || beyond.contains(*number)) {
            continue;
        }
        std::array<std::string, 3> fields;
        for (std::size_t field = 0; field < fields.size(); ++field) {
            fields[field] = profile.valueOr(kFoundSection, slotKey(field, *number), "");
        }
        if (!fields[0].empty() || !fields[1].empty() || !fields[2].empty()) {
            beyond.emplace(*number, std::move(fields));
        }
    }
    for (auto& [number, fields] : beyond) {
        store.AddFoundAddress(false, std::move(fields[0]), std::move(fields[1]),
                              std::move(fields[2]));
    }
}

void saveFoundAddresses(ProfileFile& profile, const FoundAddressStore& store) {
    const std::size_t count = store.size();
    for (std::size_t slot = 0; slot < count; ++slot) {
        const FoundAddress& record = store[slot];
        profile.write(kFoundSection, slotKey(0, slot), oneLine(record.pattern));
        profile.write(kFoundSection, slotKey(1, slot), oneLine(record.publicAddress));
        profile.write(kFoundSection, slotKey(2, slot), oneLine(record.privateKey));
    }
    for (const std::string& name : profile.keys(kFoundSection)) {
        const auto number = slotOf(name);
        if (number && *number >= count) {
            profile.write(kFoundSection, name, std::nullopt);
        }
    }
}

} // namespace

int atoiClamped(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at++] == '-';
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

std::string encodePatterns(std::string_view boxText) {
    while (!boxText.empty() && isSpace(boxText.front())) {
        boxText.remove_prefix(1);
    }
    while (!boxText.empty() && isSpace(boxText.back())) {
        boxText.remove_suffix(1);
    }
    std::string out;
    out.reserve(boxText.size());
    for (std::size_t i = 0; i < boxText.size(); ++i) {
        const char c = boxText[i];
        if (c == '\r' && i + 1 < boxText.size() && boxText[i + 1] == '\n') {
            out.push_back('-');
            ++i;
        } else if (c == '\r' || c == '\n' || c == '\0') {
            out.push_back('-');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string decodePatterns(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c == '-') {
            out.append("\r\n");
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void LoadSettings(const ProfileFile& profile, ViewSettings& settings, FoundAddressStore& store) {
    loadFoundAddresses(profile, store);
    for (const IntKey& key : kIndexKeys) {
        const std::string text = profile.valueOr(kSettingsSection, key.name, key.fallback);
        if (!text.empty()) {
            settings.*key.member = atoiClamped(text);
        }
    }
    for (const FlagKey& key : kFlagKeys) {
        const std::string text = profile.valueOr(kSettingsSection, key.name, key.fallback);
        if (!text.empty()) {
            settings.*key.member = atoiClamped(text) != 0;
        }
    }
    std::string path = profile.valueOr(kSettingsSection, "selected_file_patterns", "");
    if (!path.empty()) {
        settings.patternsFilePath = std::move(path);
    }
    settings.rewardAddress = profile.valueOr(kSettingsSection, "btc_reward", "");
    std::string poolUrl = profile.valueOr(kSettingsSection, "pool_url", "");
    if (!poolUrl.empty()) {
        settings.poolUrl = std::move(poolUrl);
    }
    const std::string patterns = profile.valueOr(kPatternsSection, "patterns", "");
    if (!patterns.empty()) {
        settings.savedPatterns = decodePatterns(patterns);
    }
}

void SaveSettings(ProfileFile& profile, const ViewSettings& settings,
                  const FoundAddressStore& store, bool optionsOnly) {
    if (!optionsOnly) {
        saveFoundAddresses(profile, store);
    }
    for (const IntKey& key : kIndexKeys) {
        profile.write(kSettingsSection, key.name, std::to_string(settings.*key.member));
    }
    for (const FlagKey& key : kFlagKeys) {
        profile.write(kSettingsSection, key.name, settings.*key.member ? "1" : "0");
    }
    profile.write(kSettingsSection, "selected_file_patterns", settings.patternsFilePath);
    profile.write(kSettingsSection, "btc_reward", settings.rewardAddress);
    profile.write(kPatternsSection, "patterns", encodePatterns(settings.savedPatterns));
}

} // namespace tarwick
