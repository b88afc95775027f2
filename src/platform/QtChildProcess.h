#pragma once

#include "core/search/ChildProcess.h"

#include <QObject>
#include <QProcess>

namespace tarwick {

// A generator run as a QProcess: started from its argument list (never a shell), no standard
// input, standard output and error merged into the run's log file, already open. Nothing here
// blocks on the child's end: ended() reports it through the event loop.
class QtChildProcess final : public QObject, public ChildProcess {
    Q_OBJECT
public:
    explicit QtChildProcess(QObject* parent = nullptr);
    // Kills a child still running, so none outlives the window that started it.
    ~QtChildProcess() override;

    bool start(const ChildStart& request) override;
    bool running() const override;
    std::optional<int> exitCode() const override;
    void kill() override;

signals:
    // Once per started child, when it has ended by itself or was killed.
    void ended();

private:
    QProcess process_;
    bool started_ = false; // the last start succeeded: its exit code means something
};

} // namespace tarwick
