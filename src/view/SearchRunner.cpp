#include "view/SearchRunner.h"

#include "view/FormWidgets.h"

#include <QLineEdit>
#include <QPushButton>

namespace tarwick {

namespace {

QString fromLocal(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SearchRunner::SearchRunner(const FormWidgets& widgets, ConsoleSink& console, const Clock& clock,
                           std::filesystem::path workDir, QObject* parent)
    : QObject(parent), widgets_(widgets), run_(child_, clock, console, *this, std::move(workDir)) {
    passTimer_.setInterval(1000);
    connect(&passTimer_, &QTimer::timeout, this, [this] { run_.pass(false); });
    connect(&child_, &QtChildProcess::ended, this, [this] { run_.pass(true); });
}

void SearchRunner::showStartButton(bool startShown) {
    widgets_.startSearch->setVisible(startShown);
    widgets_.stopSearch->setVisible(!startShown);
    widgets_.stopSearch->setEnabled(!startShown);
}

void SearchRunner::setNewRunAllowed(bool allowed) {
    widgets_.startSearch->setEnabled(allowed);
    emit newRunAllowedChanged(allowed);
}

void SearchRunner::setPassTimerActive(bool active) {
    if (active) {
        passTimer_.start();
    } else {
        passTimer_.stop();
    }
}

void SearchRunner::setProgressText(std::string_view text) {
    widgets_.progress->setText(fromLocal(text));
}

void SearchRunner::setElapsedText(std::string_view text) {
    widgets_.elapsedTime->setText(fromLocal(text));
}

} // namespace tarwick
