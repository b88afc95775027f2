#pragma once

class QProcess;

namespace tarwick {

// Platform set-up of a generator process before it starts: on Linux the child is killed when
// the front-end dies, however it dies; on Windows it gets no console window. Its standard
// output and error go to the open file outputFile (a descriptor this program created safely,
// see RunFolder::createPrivate), or are discarded when it is -1; the file is never reopened
// by name, so a link planted in its place cannot receive the keys the child prints.
void prepareGeneratorProcess(QProcess& process, int outputFile);

} // namespace tarwick
