#pragma once

#include "core/found/FoundAddressStore.h"
#include "core/settings/ProfileFile.h"
#include "core/settings/ViewSettings.h"

#include <string>
#include <string_view>

namespace tarwick {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kFoundSection = "BTCs_found";
inline constexpr std::string_view kPatternsSection = "Patterns_search";

// Reads the form's settings and the found addresses (isNew false) out of the profile. Slots are
// read from 0 until the first one without a pattern; then any later slot that still holds an
// address or a key is taken as well, in slot order, so that no private key in the file is
// dropped (and deleted by the next save) because of a gap. A value is read whole, at any length.
void LoadSettings(const ProfileFile& profile, ViewSettings& settings, FoundAddressStore& store);

// Writes the settings into the profile; unless optionsOnly, first every record of the store
// into slots 0..n-1 (no 512 limit) and removes the found-address keys of every slot from n on.
void SaveSettings(ProfileFile& profile, const ViewSettings& settings,
                  const FoundAddressStore& store, bool optionsOnly);

// The C library's atoi, without its undefined overflow: clamps to the int range.
int atoiClamped(std::string_view text);

// Patterns box text <-> the one-line value of "patterns": blanks trimmed from both ends, every
// line break (CR LF, and a lone LF or CR, which a profile line cannot hold either) as "-";
// reading turns every "-" into CR LF.
std::string encodePatterns(std::string_view boxText);
std::string decodePatterns(std::string_view value);

} // namespace tarwick
