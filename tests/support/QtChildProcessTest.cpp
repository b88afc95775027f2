#include "platform/QtChildProcess.h"

#include "ChildProcessTestSupport.h"
#include "core/files/RunFolder.h"

#include <QSignalSpy>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace tarwick {
namespace {

using testing::GeneratorFolder;
using testing::ReadBytes;
using testing::WaitUntil;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

class QtChildProcessTest : public ::testing::Test {
protected:
    // The run opens the log; the adapter hands the open file to the child.
    ChildStart request(std::vector<std::string> arguments = {"-t", "1"},
                       std::string program = "vanitygen//vanitygen64.exe") {
        log = OwnedFile(
            ::open((dir / "stdout.log").c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
        return {std::move(program), std::move(arguments), dir.path(), dir / "stdout.log",
                log.descriptor()};
    }

    GeneratorFolder dir;
    OwnedFile log;
    QtChildProcess child;
    QSignalSpy ended{&child, &QtChildProcess::ended};
};

TEST_F(QtChildProcessTest, OutputAndErrorsGoToTheOpenLogInOrder) {
    testing::WriteBytes(dir / "stdout.log", "before\n");
    dir.script("say out one\\n\nwarn error one\\n\nsay \\r[1 key/s][2]\nexit 0\n");
    ASSERT_TRUE(child.start(request()));
    ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));
    EXPECT_FALSE(child.running());
    EXPECT_EQ(ReadBytes(dir / "stdout.log"), "before\nout one\nerror one\n\r[1 key/s][2]");
}

TEST_F(QtChildProcessTest, EachArgumentArrivesWhole) {
    dir.script("exit 0\n");
    const std::vector<std::string> arguments{"-t",
                                             "2",
                                             "-f",
                                             dir.path().string() +
                                                 "/my lists/a \"quoted\" name.txt",
                                             "",
                                             "-D",
                                             "0:0 -o elsewhere.txt"};
    ASSERT_TRUE(child.start(request(arguments)));
    ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));
    std::vector<std::string> received = lines(ReadBytes(dir / "generator-args.txt"));
    ASSERT_FALSE(received.empty());
    EXPECT_TRUE(received.front().ends_with("/vanitygen/vanitygen64.exe")) << received.front();
    received.erase(received.begin());
    EXPECT_EQ(received, arguments);
}

TEST_F(QtChildProcessTest, StandardInputIsEmpty) {
    dir.script("stdin\nexit 0\n");
    ASSERT_TRUE(child.start(request()));
    ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));
    EXPECT_EQ(ReadBytes(dir / "generator-stdin.txt"), "eof");
}

TEST_F(QtChildProcessTest, RunsInTheWorkingFolder) {
    dir.script("found 1Abc 1AbcAddress 5Key\nexit 0\n");
    ASSERT_TRUE(child.start(request({"-o", "results.txt"})));
    ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));
    EXPECT_EQ(ReadBytes(dir / "results.txt"),
              "Pattern: 1Abc\nAddress: 1AbcAddress\nPrivkey: 5Key\n");
}

TEST_F(QtChildProcessTest, MissingProgramIsAStartFailure) {
    EXPECT_FALSE(child.start(request({}, "vanitygen//missing.exe")));
    EXPECT_FALSE(child.running());
    QTest::qWait(200);
    EXPECT_EQ(ended.count(), 0) << "a child that never started never ends";
}

TEST_F(QtChildProcessTest, KillEndsARunningChildWithoutWaitingForIt) {
    dir.script("status forever 100\n");
    ASSERT_TRUE(child.start(request()));
    EXPECT_TRUE(child.running());
    child.kill();
    ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }, 5000));
    EXPECT_FALSE(child.running());
    EXPECT_FALSE(child.exitCode()) << "a killed child has no exit code";
    child.kill(); // harmless once it has gone
    // The same adapter starts the next child.
    dir.script("exit 4\n");
    ASSERT_TRUE(child.start(request()));
    ASSERT_TRUE(WaitUntil([&] { return ended.count() == 2; }));
    EXPECT_EQ(child.exitCode(), 4);
}

} // namespace
} // namespace tarwick
