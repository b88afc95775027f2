#include "core/found/CheckFoundKeys.h"

#include "core/found/VerifyFoundKey.h"

#include <optional>
#include <string>

namespace tarwick {

void reportFoundAddress(const FoundAddress& address, ConsoleSink& console) {
    console.append("***** FOUND Bitcoin address *****", ConsoleStyle::Heading, true);
    console.append("Pattern: ", ConsoleStyle::Label, false);
    console.append(address.pattern, ConsoleStyle::FoundValue, true);
    console.append("BTC address: ", ConsoleStyle::Label, false);
    console.append(address.publicAddress, ConsoleStyle::FoundValue, true);
    console.append("Private key: ", ConsoleStyle::Label, false);
    console.append(address.privateKey, ConsoleStyle::FoundValue, true);
    console.append("-----------------------------------------", ConsoleStyle::Plain, true);
}

namespace {

// False, after saying why in red, when the record must not be stored.
bool provesItself(const FoundKeyRecord& record, FoundKeyTarget& target) {
    if (target.refused && target.refused->contains(record.publicAddress)) {
        return false;
    }
    const std::optional<std::string> failure = whyFoundKeyFails(record, target.searched);
    if (!failure) {
        return true;
    }
    if (target.refused) {
        target.refused->insert(record.publicAddress);
    }
    target.console.append("[ERROR] The key found for the address " + record.publicAddress +
                              " was not stored: " + *failure + ". The file it came from is kept.",
                          ConsoleStyle::Error, true);
    return false;
}

} // namespace

bool checkFoundKeysInText(std::string_view resultsText, FoundKeyTarget& target) {
    bool found = false;
    for (FoundKeyRecord& record : parseFoundKeyRecords(resultsText)) {
        // A stored address keeps its record whatever a later one says; nothing to check.
        if (target.store.contains(record.publicAddress) || !provesItself(record, target)) {
            continue;
        }
        if (!target.store.AddFoundAddress(true, std::move(record.pattern),
                                          std::move(record.publicAddress),
                                          std::move(record.privateKey))) {
            continue;
        }
        found = true;
        const std::size_t index = target.store.size() - 1;
        if (target.options.scrollLockLight) {
            target.events.SetScrollLockLight(true);
        }
        if (target.options.playSound) {
            target.events.beep(kFoundBeepFrequencyHz, kFoundBeepDurationMs);
        }
        reportFoundAddress(target.store[index], target.console);
        target.events.foundAddressAdded(index);
    }
    return found;
}

} // namespace tarwick
