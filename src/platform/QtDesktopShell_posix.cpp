#include "platform/QtUserDialogs.h"

#include <QDesktopServices>
#include <QUrl>

namespace tarwick {

// Without Notepad, the desktop's default application for text files edits the patterns.
void QtDesktopShell::openInTextEditor(std::string_view path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(
        QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()))));
}

} // namespace tarwick
