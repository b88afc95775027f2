// The front-end killed with SIGKILL while it saves the keys a generator keeps finding, and while
// it holds its working folder.
#include "FaultSupport.h"
#include "core/found/FoundKeyRecords.h"
#include "core/keys/BitcoinKey.h"
#include "core/settings/ProfileFile.h"
#include "core/settings/SettingsMapping.h"
#include "platform/WorkingFolderLock.h"

#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tarwick;
using namespace std::chrono_literals;

namespace {

using AddressKeys = std::map<std::string, std::string>;
constexpr auto all = std::filesystem::perms::all;
constexpr auto userOnly = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

// The found addresses of a Settings.ini that must be whole: it ends with its last line's CR LF
// and its slots run from 0 without a gap, each with all three keys.
AddressKeys wholeSettings(const std::filesystem::path& file) {
    const std::string bytes = test::fileText(file);
    AddressKeys found;
    EXPECT_TRUE(bytes.empty() || bytes.ends_with("\r\n")) << "Settings.ini cut short";
    const ProfileFile profile = ProfileFile::fromBytes(bytes);
    const std::size_t keys = profile.keys(kFoundSection).size();
    EXPECT_EQ(keys % 3, 0u);
    for (std::size_t n = 0; n < keys / 3; ++n) {
        const auto value = [&](std::string name) {
            return profile.value(kFoundSection, name + std::to_string(n));
        };
        const auto address = value("BTC_ADDR_PUB_ENCON_"), key = value("BTC_KEY_PRIV_ENCON_");
        EXPECT_TRUE(value("BTC_PATTERN_PUB_ENCON_") && address && key) << "slot " << n;
        if (address && key) {
            found[*address] = *key;
        }
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

// Polls the condition until it holds or the deadline passes.
bool eventually(const std::function<bool()>& condition, std::chrono::seconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Starts the program (with its one argument, or none) in the folder, its output going to
// "program-output.txt" there.
pid_t startProgram(const char* program, const char* argument, const std::filesystem::path& folder) {
    const std::string output = folder / "program-output.txt";
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    // The child: only what is safe between fork and exec.
    const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (::chdir(folder.c_str()) != 0 || fd < 0 || ::dup2(fd, 1) < 0 || ::dup2(fd, 2) < 0) {
        ::_exit(126);
    }
    ::execl(program, program, argument, nullptr);
    ::_exit(127);
}

// Waits for the program's end: its exit code, or -1 when a signal ended it.
int exitCodeOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// Settings.ini stays whole and loses no address, a save cut short leaves only a user-only
// temporary file, the generator does not outlive the window, and the next start takes in every
// key the killed runs left in results.txt.
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
        const pid_t frontEnd = startProgram(TARWICK_FAULT_FRONTEND, "search", dir);
        ASSERT_TRUE(eventually([&] { return fault::generatorPid(dir) > 0; }, 20s));
        const pid_t generator = fault::generatorPid(dir);
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + random() % 1450));
        ::kill(frontEnd, SIGKILL);
        exitCodeOf(frontEnd);
        EXPECT_TRUE(eventually([&] { return !fault::processAlive(generator); }, 5s))
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
                        (entry.status().permissions() & all) == userOnly);
        }
    }
    EXPECT_GT(leftInRuns.size(), static_cast<std::size_t>(rounds));

    tarwick::testing::writeGeneratorScript(dir, "exit 0\n");
    EXPECT_EQ(exitCodeOf(startProgram(TARWICK_FAULT_FRONTEND, "start-once", dir)), 0)
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
    const pid_t window = startProgram(TARWICK_APP, nullptr, folder);
    ASSERT_TRUE(eventually(heldByAnother, 30s)) << "the window took no lock";
    EXPECT_TRUE(fault::fileHolds("/proc/" + std::to_string(window) + "/limits",
                                 "Max core file size        0                    0 "));

    const pid_t second = startProgram(TARWICK_APP, nullptr, folder);
    EXPECT_TRUE(eventually(
        [&] { return fault::fileHolds(folder / "program-output.txt", "is already running in"); },
        30s));
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
