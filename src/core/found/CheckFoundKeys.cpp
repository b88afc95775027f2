#include "core/found/CheckFoundKeys.h"

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

bool checkFoundKeysInText(std::string_view resultsText, FoundKeyTarget& target) {
    bool found = false;
    for (FoundKeyRecord& record : parseFoundKeyRecords(resultsText)) {
        if (!target.store.AddFoundAddress(true, std::move(record.pattern),
                                          std::move(record.publicAddress),
                                          std::move(record.privateKey)))
            continue;
        found = true;
        const std::size_t index = target.store.size() - 1;
        if (target.options.scrollLockLight)
            target.events.SetScrollLockLight(true);
        if (target.options.playSound)
            target.events.beep(kFoundBeepFrequencyHz, kFoundBeepDurationMs);
        reportFoundAddress(target.store[index], target.console);
        target.events.foundAddressAdded(index);
    }
    return found;
}

} // namespace tarwick
