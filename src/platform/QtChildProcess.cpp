#include "platform/QtChildProcess.h"

#include "platform/ChildGuard.h"

#include <QDir>
#include <QFile>
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
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardInputFile(QProcess::nullDevice());
    // The generators print every key they find, so the log holds private keys: it is made
    // owner-only before the child appends to it (QProcess would create it world-readable).
    QFile log(fromPath(request.outputLog));
    if (log.open(QIODevice::Append, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        log.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        log.close();
    }
    process_.setStandardOutputFile(fromPath(request.outputLog), QIODevice::Append);
    PrepareGeneratorProcess(process_);
    process_.start();
    // Returns as soon as the program runs or has failed to; it never waits for its end.
    return process_.waitForStarted(30000);
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
