// The front-end killed with SIGKILL at random moments while a generator keeps finding keys and
// the window keeps saving them: Settings.ini must always be a whole file, never lose an address
// it held before, the generator must not outlive the window, and the next start must take in
// every key the killed runs left in results.txt.
#include "FaultProcesses.h"
#include "TestGenerators.h"
#include "core/found/FoundKeyRecords.h"
#include "core/keys/BitcoinKey.h"
#include "core/settings/ProfileFile.h"
#include "core/settings/SettingsMapping.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <thread>

using namespace tarwick;
using namespace std::chrono_literals;

namespace {

using AddressKeys = std::map<std::string, std::string>;

// The found addresses of a Settings.ini that must be whole: it ends with its last line's CR LF
// and its slots run from 0 without a gap, each with all three keys.
AddressKeys wholeSettings(const std::string& bytes) {
    AddressKeys found;
    if (bytes.empty())
        return found;
    EXPECT_TRUE(bytes.ends_with("\r\n")) << "Settings.ini cut short";
    const ProfileFile profile = ProfileFile::fromBytes(bytes);
    const std::size_t keys = profile.keys(kFoundSection).size();
    EXPECT_EQ(keys % 3, 0u);
    for (std::size_t slot = 0; slot < keys / 3; ++slot) {
        const std::string n = std::to_string(slot);
        const auto pattern = profile.value(kFoundSection, "BTC_PATTERN_PUB_ENCON_" + n);
        const auto address = profile.value(kFoundSection, "BTC_ADDR_PUB_ENCON_" + n);
        const auto key = profile.value(kFoundSection, "BTC_KEY_PRIV_ENCON_" + n);
        EXPECT_TRUE(pattern && address && key) << "slot " << slot << " incomplete";
        if (address && key)
            found[*address] = *key;
    }
    EXPECT_TRUE(profile.value(kSettingsSection, "select_file_patt").has_value());
    return found;
}

// Real keys, since every found key is checked: secrets round * 1000 + i, for the pattern "1"
// that the front-end searches.
std::string generatorScript(int round) {
    std::string script;
    for (int i = 1; i <= 400; ++i) {
        WifKey key;
        key.compressed = true;
        const int secret = round * 1000 + i;
        key.secret[30] = static_cast<std::uint8_t>(secret >> 8);
        key.secret[31] = static_cast<std::uint8_t>(secret & 0xFF);
        script += "found 1 " + AddressOf(key) + " " + EncodeWif(key) + "\nsleep 4\n";
    }
    return script + "forever\n";
}

} // namespace

TEST(KillWhileSaving, SettingsStayWholeAndNoKeyIsLost) {
    const fault::Folder folder;
    tarwick::testing::InstallTestGenerators(folder.path());
    const int rounds = fault::envInt("TARWICK_FAULT_KILL_ROUNDS", 12);
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayMs(150, 1600);

    AddressKeys saved;              // what Settings.ini held after the last kill
    AddressKeys leftInRuns;         // every record a killed run's generator wrote to results.txt
    std::set<std::string> cutSaves; // temporary files of saves the kill cut short
    for (int round = 0; round < rounds; ++round) {
        tarwick::testing::WriteGeneratorScript(folder.path(), generatorScript(round));
        std::filesystem::remove(folder.path() / "generator-pid.txt");
        const pid_t frontEnd =
            fault::startProgram(TARWICK_FAULT_FRONTEND, {"search"}, folder.path());
        const pid_t generator = fault::waitForGeneratorPid(folder.path(), 20s);
        ASSERT_GT(generator, 0) << "round " << round << ": the generator did not start";
        const int delay = delayMs(random);
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        fault::killAndReap(frontEnd);

        // The parent-death signal takes the generator down with the window.
        EXPECT_TRUE(fault::waitUntilGone(generator, 5s))
            << "round " << round << ": the generator outlived the killed front-end";

        const AddressKeys now = wholeSettings(fault::fileBytes(folder.path() / "Settings.ini"));
        for (const auto& [address, key] : saved) {
            const auto kept = now.find(address);
            ASSERT_TRUE(kept != now.end())
                << "round " << round << " (" << delay << " ms): Settings.ini lost " << address;
            EXPECT_EQ(kept->second, key);
        }
        saved = now;
        for (const FoundKeyRecord& record :
             parseFoundKeyRecords(fault::fileBytes(folder.path() / "results.txt")))
            leftInRuns[record.publicAddress] = record.privateKey;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            // A save cut short leaves its temporary file, which holds private keys too.
            if (entry.path().filename().string().starts_with(".Settings.ini.")) {
                cutSaves.insert(entry.path().filename().string());
                EXPECT_EQ(entry.status().permissions() & std::filesystem::perms::all,
                          std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
            }
        }
    }
    EXPECT_GT(leftInRuns.size(), static_cast<std::size_t>(rounds));
    EXPECT_GT(saved.size(), 0u);

    // Started again, the program takes in what the last killed run left before it deletes it.
    tarwick::testing::WriteGeneratorScript(folder.path(), "exit 0\n");
    const fault::Finished restart =
        fault::runProgram(TARWICK_FAULT_FRONTEND, {"start-once"}, folder.path(), 60s);
    ASSERT_TRUE(restart.exited) << restart.output;
    EXPECT_EQ(restart.status, 0) << restart.output;
    const AddressKeys final = wholeSettings(fault::fileBytes(folder.path() / "Settings.ini"));
    std::cout << rounds << " kills, " << cutSaves.size() << " in the middle of a save; "
              << leftInRuns.size() << " keys written by the killed runs, " << final.size()
              << " addresses in Settings.ini after the restart\n";
    for (const auto& [address, key] : leftInRuns) {
        const auto kept = final.find(address);
        ASSERT_TRUE(kept != final.end()) << address << " was found but is not in Settings.ini";
        EXPECT_EQ(kept->second, key);
    }
}
