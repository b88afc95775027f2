// The child-process tests need a Qt event loop; with --start-generator-and-die this program
// instead acts as a front-end that starts a generator and then dies without cleaning up.
#include "platform/QtChildProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>

namespace {

int startGeneratorAndDie(const char* workDir) {
    tarwick::QtChildProcess child;
    if (!child.start({"vanitygen//vanitygen64.exe",
                      {"-t", "1"},
                      workDir,
                      std::filesystem::path(workDir) / "stdout.log"})) {
        return 3;
    }
    const QString pidFile = QString::fromLocal8Bit(workDir) + QStringLiteral("/generator-pid.txt");
    for (int i = 0; i < 500 && !QFile::exists(pidFile); ++i) {
        QThread::msleep(10);
    }
    std::raise(SIGKILL); // as a crash would: no destructor, no clean-up
    return 4;
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
