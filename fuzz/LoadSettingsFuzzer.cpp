// LoadSettings over any Settings.ini, then a save and a second load: no found address of the
// file may be dropped, and a save must give back the same settings and addresses.
#include "FuzzSupport.h"
#include "core/settings/ProfileFile.h"
#include "core/settings/SettingsMapping.h"

#include <algorithm>
#include <regex>

using namespace tarwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProfileFile file = ProfileFile::fromBytes(fuzz::bytesOf(data, size));
    ViewSettings loaded;
    FoundAddressStore store;
    LoadSettings(file, loaded, store);

    // Every address slot of the file that holds anything is in the store (an address stored
    // twice keeps its first record). Slot names may be in any case.
    static const std::regex slotKey("BTC_(PATTERN_PUB|ADDR_PUB|KEY_PRIV)_ENCON_([0-9]{1,9})",
                                    std::regex::icase);
    std::smatch slot;
    for (const std::string& key : file.keys(kFoundSection)) {
        if (!std::regex_match(key, slot, slotKey))
            continue;
        const auto value = [&](const char* name) { // without leading zeros in the number
            return file.valueOr(kFoundSection, name + std::to_string(std::stoul(slot[2])), "");
        };
        const std::string address = value("BTC_ADDR_PUB_ENCON_");
        FUZZ_CHECK(
            (value("BTC_PATTERN_PUB_ENCON_") + address + value("BTC_KEY_PRIV_ENCON_")).empty() ||
            store.contains(address));
    }
    for (const FoundAddress& record : store.records())
        FUZZ_CHECK(!record.isNew);

    // Save everything and load it again.
    ProfileFile saved = ProfileFile::fromBytes(file.toBytes());
    SaveSettings(saved, loaded, store, false);
    ViewSettings again;
    FoundAddressStore storeAgain;
    LoadSettings(ProfileFile::fromBytes(saved.toBytes()), again, storeAgain);

    // What a profile line can hold: line breaks and NUL in a value are saved as blanks.
    const auto asSaved = [](std::string text) {
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || !c; }, ' ');
        return text;
    };
    FoundAddressStore expected;
    for (const FoundAddress& record : store.records())
        expected.AddFoundAddress(false, asSaved(record.pattern), asSaved(record.publicAddress),
                                 asSaved(record.privateKey));
    FUZZ_CHECK(storeAgain.records() == expected.records());
    const std::string patterns = encodePatterns(loaded.savedPatterns);
    loaded.savedPatterns = patterns.empty() ? std::string() : decodePatterns(patterns);
    FUZZ_CHECK(again == loaded);
    return 0;
}
