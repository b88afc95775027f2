#include "core/settings/Preferences.h"

namespace tarwick {

Preferences::Preferences(std::unique_ptr<SettingsSaver> saver,
                         const FoundAddressStore& foundAddresses)
    : saver_(std::move(saver)), foundAddresses_(foundAddresses) {}

void Preferences::load(FoundAddressStore& foundAddresses) {
    saver_->LoadSettings(values_, foundAddresses);
    announce();
}

void Preferences::saveOptions() {
    saver_->SaveSettings(values_, foundAddresses_, true);
}

void Preferences::saveFoundAddresses() {
    saver_->SaveSettings(values_, foundAddresses_, false);
}

void Preferences::announce() const {
    for (const std::function<void()>& listener : listeners_) {
        listener();
    }
}

} // namespace tarwick
