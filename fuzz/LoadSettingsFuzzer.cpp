// LoadSettings over any Settings.ini, then a save and a second load: no found address of the
// file may be dropped, and a save must give back the same settings and addresses.
#include "FuzzSupport.h"
#include "core/settings/ProfileFile.h"
#include "core/settings/SettingsMapping.h"

#include <string>

using namespace tarwick;

namespace {

// What a profile line can hold: line breaks and NUL in a value are saved as blanks.
std::string asSaved(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return text;
}

bool isSlotKey(const std::string& name, std::string_view prefix) {
    if (name.size() <= prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = name[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != prefix[i])
            return false;
    }
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 9 || (digits.size() > 1 && digits.front() == '0'))
        return false;
    return digits.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProfileFile file = ProfileFile::fromBytes(fuzz::bytesOf(data, size));
    ViewSettings loaded;
    FoundAddressStore store;
    LoadSettings(file, loaded, store);

    // Every address slot of the file that holds anything is in the store (an address stored
    // twice keeps its first record).
    for (const std::string& name : file.keys(kFoundSection)) {
        for (const std::string_view prefix :
             {"BTC_PATTERN_PUB_ENCON_", "BTC_ADDR_PUB_ENCON_", "BTC_KEY_PRIV_ENCON_"}) {
            if (!isSlotKey(name, prefix))
                continue;
            const std::string slot = name.substr(prefix.size());
            const std::string pattern =
                file.valueOr(kFoundSection, "BTC_PATTERN_PUB_ENCON_" + slot, "");
            const std::string address =
                file.valueOr(kFoundSection, "BTC_ADDR_PUB_ENCON_" + slot, "");
            const std::string key = file.valueOr(kFoundSection, "BTC_KEY_PRIV_ENCON_" + slot, "");
            if (!pattern.empty() || !address.empty() || !key.empty())
                FUZZ_CHECK(store.contains(address));
        }
    }
    for (const FoundAddress& record : store.records())
        FUZZ_CHECK(!record.isNew);

    // Save everything and load it again.
    ProfileFile saved = ProfileFile::fromBytes(file.toBytes());
    SaveSettings(saved, loaded, store, false);
    const ProfileFile reread = ProfileFile::fromBytes(saved.toBytes());
    ViewSettings again;
    FoundAddressStore storeAgain;
    LoadSettings(reread, again, storeAgain);

    FoundAddressStore expected;
    for (const FoundAddress& record : store.records())
        expected.AddFoundAddress(false, asSaved(record.pattern), asSaved(record.publicAddress),
                                 asSaved(record.privateKey));
    FUZZ_CHECK(storeAgain.records() == expected.records());

    ViewSettings expectedSettings = loaded;
    const std::string patterns = encodePatterns(loaded.savedPatterns);
    expectedSettings.savedPatterns = patterns.empty() ? std::string() : decodePatterns(patterns);
    FUZZ_CHECK(again == expectedSettings);
    return 0;
}
