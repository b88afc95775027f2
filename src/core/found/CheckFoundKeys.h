#pragma once

#include "core/common/ConsoleSink.h"
#include "core/found/FoundAddressStore.h"
#include "core/found/FoundKeyRecords.h"
#include "core/found/SearchedPatterns.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>

namespace tarwick {

// What the user is told of a new address besides the console report: the keyboard lamp and the
// beep come from the platform, the row from the view. The app wires one object to both.
class FoundKeyEvents {
public:
    virtual ~FoundKeyEvents() = default;
    // Switches the Scroll Lock lamp on or off; does nothing when it is already so.
    virtual void SetScrollLockLight(bool on) = 0;
    virtual void beep(int frequencyHz, int durationMs) = 0;
    // The store gained the record at this index (always its last one) during this pass.
    virtual void foundAddressAdded(std::size_t index) = 0;
};

struct FoundKeyOptions {
    bool scrollLockLight = false; // "scrollLocl_light_on"
    bool playSound = false;       // "play_sound_found"
};

struct FoundKeyTarget {
    FoundAddressStore& store;
    FoundKeyOptions options;
    FoundKeyEvents& events;
    ConsoleSink& console;
    // The patterns of the run that wrote the text; null when unknown: then nothing is stored.
    const SearchedPatterns* searched = nullptr;
    // Addresses of records already refused, so each is told once; may be null.
    std::unordered_set<std::string>* refused = nullptr;
};

inline constexpr int kFoundBeepFrequencyHz = 650;
inline constexpr int kFoundBeepDurationMs = 30;

// Offers every complete record of the results text whose key proves it (whyFoundKeyFails) to
// the store (isNew true) and reports each one the store accepts: lamp if the option is on, beep
// if the option is on, then the five console lines. A record that fails is not stored; a red
// line names its address and what failed. True when at least one address was added.
bool checkFoundKeysInText(std::string_view resultsText, FoundKeyTarget& target);

// The console lines of one new address, in the console's styles.
void reportFoundAddress(const FoundAddress& address, ConsoleSink& console);

} // namespace tarwick
