// Settings.ini as any program, editor or crash may leave it: the profile reader must keep every
// byte it does not change, and what it writes must read back as written.
#include "FuzzSupport.h"
#include "core/settings/ProfileFile.h"

#include <fuzzer/FuzzedDataProvider.h>

using tarwick::ProfileFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string bytes = input.ConsumeRandomLengthString(size);
    ProfileFile profile = ProfileFile::fromBytes(bytes);
    FUZZ_CHECK(profile.toBytes() == bytes);

    // A few key writes and deletes, each checked at once and again after a save and reload.
    const int writes = input.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < writes && input.remaining_bytes() > 0; ++i) {
        const std::string section = input.ConsumeRandomLengthString(24);
        const std::string key = input.ConsumeRandomLengthString(24);
        const bool remove = input.ConsumeBool();
        const std::string value = input.ConsumeRandomLengthString(48);
        const auto expected = remove ? std::nullopt : std::optional<std::string>(value);
        const std::string before = profile.toBytes();
        if (!profile.write(section, key,
                           remove ? std::nullopt : std::optional<std::string_view>(value))) {
            FUZZ_CHECK(profile.toBytes() == before);
            continue;
        }
        const ProfileFile reloaded = ProfileFile::fromBytes(profile.toBytes());
        FUZZ_CHECK(profile.value(section, key) == expected &&
                   reloaded.value(section, key) == expected);
        FUZZ_CHECK(reloaded.toBytes() == profile.toBytes());
        profile = reloaded;
    }
    return 0;
}
