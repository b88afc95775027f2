#include "platform/ChildGuard.h"

#include <QProcess>
#include <io.h>
#include <windows.h>

namespace tarwick {

void prepareGeneratorProcess(QProcess& process, int outputFile) {
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const HANDLE output = outputFile >= 0 ? reinterpret_cast<HANDLE>(_get_osfhandle(outputFile))
                                          : INVALID_HANDLE_VALUE;
    process.setCreateProcessArgumentsModifier(
        [output](QProcess::CreateProcessArguments* arguments) {
            arguments->flags |= CREATE_NO_WINDOW;
            if (output == INVALID_HANDLE_VALUE)
                return;
            SetHandleInformation(output, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
            arguments->startupInfo->dwFlags |= STARTF_USESTDHANDLES;
            arguments->startupInfo->hStdOutput = output;
            arguments->startupInfo->hStdError = output;
            arguments->inheritHandles = true;
        });
}

} // namespace tarwick
