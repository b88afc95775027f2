#include "platform/QtUserDialogs.h"

#include <QProcess>

namespace tarwick {

void QtDesktopShell::openInTextEditor(std::string_view path) {
    QProcess::startDetached(
        QStringLiteral("notepad"),
        {QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()))});
}

} // namespace tarwick
