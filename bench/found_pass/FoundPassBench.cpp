// One pass of the run loop that finds one new key while 10,000 addresses are already stored:
// results.txt parsed, every record offered to the store, the new one reported, then the
// found-address save that follows a find (profile rebuilt and, for the disk case, Settings.ini
// replaced atomically with fsync).
#include "core/found/CheckFoundKeys.h"
#include "core/found/SearchedPatterns.h"
#include "core/keys/BitcoinKey.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsMapping.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tarwick {
namespace {

constexpr int kStored = 10'000;
constexpr int kRecordsInResults = 50; // found earlier in this run, plus one new at the end

std::string storedAddressOf(int i) {
    return "1Vanity" + std::to_string(1'000'000 + i) + "QwRzTyUiOp";
}
std::string keyOf(int i) {
    return "5K" + std::to_string(1'000'000 + i) + std::string(42, 'k');
}

FoundAddressStore storedAddresses() {
    FoundAddressStore store;
    for (int i = 0; i < kStored; ++i) {
        store.AddFoundAddress(false, "1Vanity", storedAddressOf(i), keyOf(i));
    }
    return store;
}

// The results of this run: records already stored, then one new, a real key, so the pass times
// the check every new key passes before it is stored.
std::string resultsText() {
    std::string text;
    for (int i = kStored - kRecordsInResults; i < kStored; ++i) {
        text += "Pattern: 1Vanity\nAddress: " + storedAddressOf(i) + "\nPrivkey: " + keyOf(i) + "\n";
    }
    WifKey key;
    key.secret[31] = 1;
    key.compressed = true;
    return text + "Pattern: 1\nAddress: " + addressOfKey(key) + "\nPrivkey: " + encodeWif(key) + "\n";
}

const SearchedPatterns kSearched{false, {"1Vanity", "1"}};

class CountingConsole : public ConsoleSink {
public:
    void append(std::string_view text, ConsoleStyle, bool) override { bytes += text.size(); }
    void clear() override {}
    std::size_t bytes = 0;
};

class QuietEvents : public FoundKeyEvents {
public:
    void SetScrollLockLight(bool) override {}
    void beep(int, int) override {}
    void foundAddressAdded(std::size_t index) override { last = index; }
    std::size_t last = 0;
};

void BM_CheckFoundKeys(benchmark::State& state) {
    FoundAddressStore store = storedAddresses();
    const std::string text = resultsText();
    CountingConsole console;
    QuietEvents events;
    FoundKeyTarget target{store, {true, true}, events, console, &kSearched};
    for (auto _ : state) {
        const bool found = checkFoundKeysInText(text, target);
        benchmark::DoNotOptimize(found);
        state.PauseTiming();
        store.remove(store.size() - 1);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CheckFoundKeys)->Unit(benchmark::kMillisecond);

void BM_SaveFoundAddressesInMemory(benchmark::State& state) {
    FoundAddressStore store = storedAddresses();
    ProfileFile before;
    SaveSettings(before, {}, store, false);
    const std::string bytes = before.toBytes();
    store.AddFoundAddress(true, "1Vanity", storedAddressOf(kStored), keyOf(kStored));
    for (auto _ : state) {
        ProfileFile profile = ProfileFile::fromBytes(bytes);
        SaveSettings(profile, {}, store, false);
        benchmark::DoNotOptimize(profile.toBytes());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_SaveFoundAddressesInMemory)->Unit(benchmark::kMillisecond);

// The whole pass: find the key, then save Settings.ini on disk as the run loop does.
void BM_FoundPassWithSave(benchmark::State& state) {
    std::string folderName =
        (std::filesystem::temp_directory_path() / "tarwick-bench-XXXXXX").string();
    if (!::mkdtemp(folderName.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::filesystem::path folder = folderName;
    CountingConsole console;
    SettingsFile settingsFile(folder / "Settings.ini", console);
    FoundAddressStore store = storedAddresses();
    settingsFile.SaveSettings({}, store, false);
    const std::string text = resultsText();
    QuietEvents events;
    FoundKeyTarget target{store, {true, true}, events, console, &kSearched};
    for (auto _ : state) {
        if (checkFoundKeysInText(text, target)) {
            settingsFile.SaveSettings({}, store, false);
        }
        state.PauseTiming();
        store.remove(store.size() - 1);
        state.ResumeTiming();
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FoundPassWithSave)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tarwick

BENCHMARK_MAIN();
