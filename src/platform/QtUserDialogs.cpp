#include "platform/QtUserDialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace tarwick {

namespace {

QString fromLocal(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

int questionBox(QWidget* owner, std::string_view caption, std::string_view text,
                QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Question, fromLocal(caption), fromLocal(text), buttons, owner);
    box.setObjectName(QStringLiteral("questionBox"));
    return box.exec();
}

} // namespace

void QtUserDialogs::showMessage(std::string_view caption, std::string_view text) {
    questionBox(owner_, caption, text, QMessageBox::Ok);
}

bool QtUserDialogs::askYesNo(std::string_view caption, std::string_view text) {
    return questionBox(owner_, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<std::string> QtUserDialogs::choosePatternsFile() {
    // The working folder is never changed by the dialog: Qt's dialog does not touch it.
    const QString path = QFileDialog::getOpenFileName(
        owner_, QStringLiteral("Select the file that contains the patterns"), QString(),
        QStringLiteral("Text Files (*.txt);;Any File (*)"));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return QFileInfo(path).filePath().toLocal8Bit().toStdString();
}

void QtDesktopShell::openUrl(std::string_view url) {
    QDesktopServices::openUrl(QUrl(fromLocal(url)));
}

} // namespace tarwick
