// Linux only: a generator must not outlive a front-end killed with SIGKILL. Run with
// --start-generator-and-die FOLDER, this program is that front-end: it starts a generator
// there and dies without cleaning up.
#include "../core/search/TempFolder.h"
#include "TestGenerators.h"
#include "platform/QtChildProcess.h"

#include <QCoreApplication>
#include <QProcess>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// Gone, or a zombie nobody reaps yet: either way it no longer runs.
bool processGone(int pid) {
    const std::string stat = firstLine("/proc/" + std::to_string(pid) + "/stat");
    return stat.empty() || stat.substr(stat.rfind(')') + 1, 3) == " Z ";
}

bool waitUntil(const std::function<bool()>& condition) {
    for (int i = 0; i < 500 && !condition(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

int startGeneratorAndDie(const std::filesystem::path& folder) {
    tarwick::QtChildProcess child;
    if (!child.start({"vanitygen//vanitygen64.exe", {"-t", "1"}, folder, folder / "stdout.log"})) {
        return 3;
    }
    waitUntil([&] { return !firstLine(folder / "generator-pid.txt").empty(); });
    std::raise(SIGKILL); // as a crash would: no destructor, no clean-up
    return 4;
}

TEST(ParentDeath, GeneratorDiesWithAFrontEndKilledWithSigkill) {
    tarwick::testing::TempFolder folder;
    tarwick::testing::installTestGenerators(folder.path());
    tarwick::testing::writeGeneratorScript(folder.path(), "forever\n");
    QProcess frontEnd;
    frontEnd.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--start-generator-and-die"),
                    QString::fromStdString(folder.path().string())});
    ASSERT_TRUE(frontEnd.waitForFinished(20000));
    ASSERT_EQ(frontEnd.exitStatus(), QProcess::CrashExit);
    const int pid = std::atoi(firstLine(folder / "generator-pid.txt").c_str());
    ASSERT_GT(pid, 0) << "the generator never started";
    EXPECT_TRUE(waitUntil([&] { return processGone(pid); }) || ::kill(pid, SIGKILL) != 0)
        << "generator " << pid << " outlived its front-end";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--start-generator-and-die") == 0) {
        return startGeneratorAndDie(argv[2]);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
