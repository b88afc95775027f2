#pragma once

class QProcess;

namespace tarwick {

// Platform set-up of a generator process before it starts: on Linux the child is killed when
// the front-end dies, however it dies; on Windows it gets no console window.
void PrepareGeneratorProcess(QProcess& process);

} // namespace tarwick
