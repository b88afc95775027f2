// The front-end killed with SIGKILL while it saves the keys a generator keeps finding, and while
// it holds its working folder.
#include "FaultSupport.h"
#include "core/found/FoundKeyRecords.h"
#include "core/keys/BitcoinKey.h"
#include "core/settings/ProfileFile.h"
#include "core/settings/SettingsMapping.h"
#include "platform/WorkingFolderLock.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tarwick;

namespace {

using AddressKeys = std::map<std::string, std::string>;

// The found addresses of a Settings.ini that must be whole: it ends with its last line's CR LF
// and its slots run from 0 without a gap, each with all three keys.
AddressKeys wholeSettings(const std::filesystem::path& file) {
    const std::string bytes = test::fileText(file);
    EXPECT_TRUE(bytes.empty() || bytes.ends_with("\r\n")) << "Settings.ini cut short";
    const ProfileFile profile = ProfileFile::fromBytes(bytes);
    const std::size_t keys = profile.keys(kFoundSection).size();
    EXPECT_EQ(keys % 3, 0u);
    AddressKeys found;
    for (std::size_t n = 0; n < keys / 3; ++n) {
        const auto value = [&](std::string name) {
            return profile.value(kFoundSection, name + std::to_string(n));
        };
        const auto address = value("BTC_ADDR_PUB_ENCON_"), key = value("BTC_KEY_PRIV_ENCON_");
        EXPECT_TRUE(value("BTC_PATTERN_PUB_ENCON_") && address && key) << "slot " << n;
        found[address.value_or("")] = key.value_or("");
    }
    EXPECT_TRUE(bytes.empty() || profile.value(kSettingsSection, "select_file_patt"));
    return found;
}

// Real keys, since every found key is checked: secrets round * 1000 + i, for the pattern "1".
std::string generatorScript(int round) {
    std::string script;
    for (int i = 1; i <= 400; ++i) {
        WifKey key;
        key.compressed = true;
        key.secret[30] = static_cast<std::uint8_t>((round * 1000 + i) >> 8);
        key.secret[31] = static_cast<std::uint8_t>((round * 1000 + i) & 0xFF);
        script += "found 1 " + addressOfKey(key) + " " + encodeWif(key) + "\nsleep 4\n";
    }
    return script + "forever\n";
}

// Starts the command line in the folder, its output appended to program-output.txt there.
pid_t startProgram(const std::string& commandLine, const std::filesystem::path& folder) {
    const std::string script =
        std::string("cd \"$0\" && exec ").append(commandLine).append(" >>program-output.txt 2>&1");
    const char* const arguments[] = {"sh", "-c", script.c_str(), folder.c_str(), nullptr};
    pid_t pid = -1;
    ::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(arguments), environ);
    return pid;
}

// Waits for the program's end: its exit code, or -1 when a signal ended it.
int exitCodeOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// Settings.ini stays whole and loses no address, a save cut short leaves only a user-only temporary
// file, the generator dies with the window, and the next start takes every key left in results.txt.
TEST(KilledFrontEnd, SettingsStayWholeAndNoKeyIsLost) {
    const QTemporaryDir temporary;
    const std::filesystem::path dir = temporary.path().toStdString();
    tarwick::testing::installTestGenerators(dir);
    const char* roundsText = std::getenv("TARWICK_FAULT_KILL_ROUNDS");
    const int rounds = roundsText ? std::atoi(roundsText) : 12;
    std::mt19937 random(std::random_device{}());
    AddressKeys saved, leftInRuns;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        tarwick::testing::writeGeneratorScript(dir, generatorScript(round));
        std::filesystem::remove(dir / "generator-pid.txt");
        const pid_t frontEnd = startProgram(TARWICK_FAULT_FRONTEND " search", dir);
        pid_t generator = 0;
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return (generator = fault::generatorPid(dir)) > 0; }, 20000));
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + random() % 1450));
        ::kill(frontEnd, SIGKILL);
        exitCodeOf(frontEnd);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !fault::processAlive(generator); }, 5000))
            << "the generator outlived the killed front-end";
        const AddressKeys now = wholeSettings(dir / "Settings.ini");
        EXPECT_TRUE(std::ranges::includes(now, saved)) << "Settings.ini lost an address";
        saved = now;
        for (const FoundKeyRecord& record :
             parseFoundKeyRecords(test::fileText(dir / "results.txt"))) {
            leftInRuns[record.publicAddress] = record.privateKey;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            EXPECT_TRUE(!entry.path().filename().string().starts_with(".Settings.ini.") ||
                        fault::isUserOnly(entry.path()));
        }
    }
    EXPECT_GT(leftInRuns.size(), static_cast<std::size_t>(rounds));

    tarwick::testing::writeGeneratorScript(dir, "exit 0\n");
    EXPECT_EQ(exitCodeOf(startProgram(TARWICK_FAULT_FRONTEND " start-once", dir)), 0)
        << test::fileText(dir / "program-output.txt");
    EXPECT_TRUE(std::ranges::includes(wholeSettings(dir / "Settings.ini"), leftInRuns))
        << "a key the killed runs found is not in Settings.ini";
}

// The real program holds its folder while it runs (a second start says so and writes nothing),
// runs without core dumps, and its lock goes with it when it is killed.
TEST(KilledFrontEnd, OneWindowPerFolderUntilKilled) {
    const QTemporaryDir temporary;
    const std::filesystem::path folder = temporary.path().toStdString();
    const auto heldByAnother = [&] {
        return WorkingFolderLock(folder).state() == WorkingFolderLock::State::HeldByAnother;
    };
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::filesystem::create_directory(folder / "vanitygen"); // makes it the working folder
    const pid_t window = startProgram(TARWICK_APP, folder);
    ASSERT_TRUE(QTest::qWaitFor(heldByAnother, 30000)) << "the window took no lock";
    EXPECT_TRUE(fault::fileHolds("/proc/" + std::to_string(window) + "/limits",
                                 "Max core file size        0                    0 "));

    const pid_t second = startProgram(TARWICK_APP, folder);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return fault::fileHolds(folder / "program-output.txt", "is already running in"); },
        30000));
    ::kill(second, SIGKILL);
    exitCodeOf(second);
    // Nothing but the lock, the output and vanitygen/: the second start wrote nothing.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3);

    ::kill(window, SIGKILL);
    exitCodeOf(window);
    const WorkingFolderLock after(folder);
    EXPECT_EQ(after.state(), WorkingFolderLock::State::Held)
        << "a killed window left its lock behind";
    EXPECT_TRUE(heldByAnother());
}
