// The real program started as a user would: it holds its working folder for as long as it runs
// (a second start there is refused), the lock goes with the process when it is killed, and the
// process writes no core dump.
#include "FaultProcesses.h"
#include "platform/CoreDumps.h"
#include "platform/WorkingFolderLock.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tarwick;
using namespace std::chrono_literals;
using State = WorkingFolderLock::State;

namespace {

bool heldByAnotherWithin(const std::filesystem::path& folder, std::chrono::seconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (WorkingFolderLock(folder).state() == State::HeldByAnother)
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

bool outputShowsWithin(const std::filesystem::path& folder, const std::string& text,
                       std::chrono::seconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (fault::fileBytes(folder / "program-output.txt").find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// The soft and hard core size limits of a running process, as /proc shows them.
std::string coreLimits(pid_t pid) {
    std::ifstream limits("/proc/" + std::to_string(pid) + "/limits");
    const std::string label = "Max core file size";
    for (std::string line; std::getline(limits, line);)
        if (line.starts_with(label)) {
            std::istringstream values(line.substr(label.size()));
            std::string soft, hard;
            values >> soft >> hard;
            return soft + " " + hard;
        }
    return {};
}

} // namespace

TEST(OneWindowPerFolder, RunningProgramHoldsItsFolderUntilKilled) {
    const fault::Folder folder;
    // A portable folder: the program works in the folder it is started in.
    std::filesystem::create_directory(folder.path() / "vanitygen");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const pid_t window = fault::startProgram(TARWICK_APP, {}, folder.path());
    ASSERT_TRUE(heldByAnotherWithin(folder.path(), 30s)) << "the window took no lock";
    // Every other process, this one included, is refused while the window runs.
    EXPECT_EQ(WorkingFolderLock(folder.path()).state(), State::HeldByAnother);
    EXPECT_EQ(coreLimits(window), "0 0");

    // A second start says so and goes no further than its message box, having written nothing.
    const pid_t second = fault::startProgram(TARWICK_APP, {}, folder.path());
    EXPECT_TRUE(outputShowsWithin(folder.path(), "Tarwick is already running in the folder", 30s));
    fault::killAndReap(second);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{WorkingFolderLock::fileName, "program-output.txt",
                                            "vanitygen"}));

    fault::killAndReap(window);
    const WorkingFolderLock after(folder.path());
    EXPECT_EQ(after.state(), State::Held) << "a killed window left its lock behind";
    EXPECT_EQ(WorkingFolderLock(folder.path()).state(), State::HeldByAnother);
}

TEST(OneWindowPerFolder, CoreDumpsAreOffInTheCallingProcess) {
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        DisableCoreDumps();
        rlimit core{};
        ::getrlimit(RLIMIT_CORE, &core);
        const char state[] = {static_cast<char>('0' + ::prctl(PR_GET_DUMPABLE)),
                              core.rlim_cur == 0 && core.rlim_max == 0 ? 'z' : 'n'};
        ::_exit(::write(report[1], state, 2) == 2 ? 0 : 1);
    }
    ::close(report[1]);
    char state[3] = {};
    EXPECT_EQ(::read(report[0], state, 2), 2);
    ::close(report[0]);
    ::waitpid(child, nullptr, 0);
    EXPECT_STREQ(state, "0z") << "dumpable flag, then z for a zero core size";
}
