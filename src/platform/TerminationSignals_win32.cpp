#include "platform/TerminationSignals.h"

namespace tarwick {

// Windows asks a program to end by closing its windows, which Qt delivers as close events.
TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}

} // namespace tarwick
