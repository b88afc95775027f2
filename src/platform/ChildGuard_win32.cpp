#include "platform/ChildGuard.h"

#include <QProcess>
#include <windows.h>

namespace tarwick {

void PrepareGeneratorProcess(QProcess& process) {
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* arguments) { arguments->flags |= CREATE_NO_WINDOW; });
}

} // namespace tarwick
