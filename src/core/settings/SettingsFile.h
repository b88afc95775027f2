#pragma once

#include "core/common/ConsoleSink.h"
#include "core/found/FoundAddressStore.h"
#include "core/settings/ViewSettings.h"

#include <filesystem>

namespace tarwick {

// Settings.ini on disk. Each save reads the file, applies the changes in memory and replaces
// the file in one atomic step (0600, see writePrivateFile), so that a crash at any moment
// leaves the old file or the new one, whole, never a half-written series of key writes.
class SettingsFile {
public:
    SettingsFile(std::filesystem::path file, ConsoleSink& console);

    // Fills the settings and the store (isNew false). A missing file leaves the defaults of
    // the tables. A file that exists but cannot be read is never overwritten afterwards: it may
    // hold private keys that the store does not.
    void LoadSettings(ViewSettings& settings, FoundAddressStore& store);

    // True when the file now holds the given state. A failed save leaves the old file whole and
    // says so once in red until a save succeeds again; a found-address save that failed is
    // done by the next save, whatever its optionsOnly.
    bool SaveSettings(const ViewSettings& settings, const FoundAddressStore& store,
                      bool optionsOnly);

    // A found address is not yet in the file: the last found-address save failed.
    bool foundAddressesPending() const { return foundAddressesPending_; }

private:
    void tellFailure(std::string_view text);

    std::filesystem::path file_;
    ConsoleSink& console_;
    bool unreadable_ = false;
    bool foundAddressesPending_ = false;
    bool failureTold_ = false;
};

} // namespace tarwick
