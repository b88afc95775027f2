#include "platform/QtChildProcess.h"

#include "platform/ChildGuard.h"

#include <QDir>
#include <QStringList>

namespace tarwick {
namespace {

// The core's texts are 8-bit in the system's code page.
QString fromLocal(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

QString fromPath(const std::filesystem::path& path) {
    return fromLocal(path.string());
}

} // namespace

QtChildProcess::QtChildProcess(QObject* parent) : QObject(parent) {
    connect(&process_, &QProcess::finished, this, &QtChildProcess::ended);
}

QtChildProcess::~QtChildProcess() {
    disconnect(&process_, nullptr, this, nullptr);
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000); // a killed child goes at once; this only reaps it
    }
}

bool QtChildProcess::start(const ChildStart& request) {
    if (process_.state() != QProcess::NotRunning) {
        return false; // one child at a time
    }
    const QDir workDir(fromPath(request.workingDirectory));
    // A relative program is the working folder's, not the search path's.
    process_.setProgram(QDir::cleanPath(workDir.absoluteFilePath(fromLocal(request.program))));
    QStringList arguments;
    for (const std::string& argument : request.arguments) {
        arguments << fromLocal(argument);
    }
    process_.setArguments(arguments);
    process_.setWorkingDirectory(workDir.absolutePath());
    process_.setStandardInputFile(QProcess::nullDevice());
    prepareGeneratorProcess(process_, request.outputFile);
    process_.start();
    // Returns as soon as the program runs or has failed to; it never waits for its end.
    started_ = process_.waitForStarted(30000);
    return started_;
}

std::optional<int> QtChildProcess::exitCode() const {
    if (process_.state() != QProcess::NotRunning || process_.exitStatus() != QProcess::NormalExit ||
        !started_) {
        return std::nullopt;
    }
    return process_.exitCode();
}

bool QtChildProcess::running() const {
    return process_.state() != QProcess::NotRunning;
}

void QtChildProcess::kill() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
    }
}

} // namespace tarwick
