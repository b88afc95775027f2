// Linux only: a generator must not outlive a front-end that crashes.
#include "ChildProcessTestSupport.h"
#include "platform/QtChildProcess.h"

#include <QProcess>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

using testing::GeneratorFolder;
using testing::WaitUntil;

// Gone, or a zombie nobody reaps yet: either way it no longer runs.
bool processGone(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return true;
    }
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

int generatorPid(const GeneratorFolder& dir) {
    std::ifstream in(dir / "generator-pid.txt");
    int pid = 0;
    in >> pid;
    return pid;
}

TEST(ParentDeath, GeneratorDiesWithACrashedFrontEnd) {
    GeneratorFolder dir;
    dir.script("forever\n");
    QProcess frontEnd;
    frontEnd.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--start-generator-and-die"), QString::fromStdString(dir.path().string())});
    ASSERT_TRUE(frontEnd.waitForFinished(20000));
    ASSERT_EQ(frontEnd.exitStatus(), QProcess::CrashExit);
    const int pid = generatorPid(dir);
    ASSERT_GT(pid, 0) << "the generator never started";
    const bool gone = WaitUntil([&] { return processGone(pid); }, 5000);
    if (!gone) {
        ::kill(pid, SIGKILL);
    }
    EXPECT_TRUE(gone) << "generator " << pid << " outlived its front-end";
}

TEST(ParentDeath, DestroyingTheAdapterEndsItsChild) {
    GeneratorFolder dir;
    dir.script("forever\n");
    {
        QtChildProcess child;
        ASSERT_TRUE(
            child.start({"vanitygen//vanitygen64.exe", {}, dir.path(), dir / "stdout.log"}));
        ASSERT_TRUE(WaitUntil([&] { return generatorPid(dir) > 0; }));
    }
    const int pid = generatorPid(dir);
    EXPECT_TRUE(WaitUntil([&] { return processGone(pid); }, 5000));
}

} // namespace
} // namespace tarwick
