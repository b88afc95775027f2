#pragma once

#include <QObject>

namespace tarwick {

// A request from outside to end the program (on Linux SIGTERM from the desktop session or
// kill, SIGINT from Ctrl+C, SIGHUP from a closed terminal), delivered on the event loop so the
// program can close as if its window were closed: the search stopped, the keys saved. A second
// signal of the same kind ends the program at once.
class TerminationSignals final : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);

signals:
    void requested();
};

} // namespace tarwick
