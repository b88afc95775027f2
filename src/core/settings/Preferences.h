#pragma once

#include "core/found/FoundAddressStore.h"
#include "core/settings/SettingsSaver.h"
#include "core/settings/ViewSettings.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tarwick {

// The one owner of the choices Settings.ini keeps. A choice is changed here, saved as the file
// requires, and announced to whoever listens (the Options menu's check marks); no one else
// holds a copy. The found addresses are saved beside them, from the store given.
class Preferences {
public:
    Preferences(std::unique_ptr<SettingsSaver> saver, const FoundAddressStore& foundAddresses);

    const ViewSettings& values() const { return values_; }

    // A choice of a list, a radio, an Options item or the patterns file: saved at once, even
    // when it is the value already held, then announced.
    template <typename T>
    void set(T ViewSettings::*field, T value) {
        values_.*field = std::move(value);
        saveOptions();
        announce();
    }
    void toggle(bool ViewSettings::*flag) { set(flag, !(values_.*flag)); }
    // Taken without a save or an announcement: the text of a box as it is typed (saved with the
    // next save, not on every key), and the lists' selections while the form is filled.
    template <typename T>
    void keep(T ViewSettings::*field, T value) {
        values_.*field = std::move(value);
    }

    void onChanged(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

    // Reads Settings.ini into the choices and the store.
    void load(FoundAddressStore& foundAddresses);
    // Ask for a save and return at once; the file is written on the saver's thread.
    void saveOptions();
    void saveFoundAddresses();
    // Waits for the saves asked for; then true when Settings.ini holds every found address.
    bool allFoundKeysSaved() { return saver_->allFoundKeysSaved(); }

private:
    void announce() const;

    std::unique_ptr<SettingsSaver> saver_;
    const FoundAddressStore& foundAddresses_;
    ViewSettings values_;
    std::vector<std::function<void()>> listeners_;
};

} // namespace tarwick
