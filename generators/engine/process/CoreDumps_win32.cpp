#include "engine/process/CoreDumps.h"

#include <windows.h>

namespace tarwick::engine {

void disableCoreDumps() {
    // No Windows Error Reporting dialog, and with it no crash dump offered for upload.
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
}

} // namespace tarwick::engine
