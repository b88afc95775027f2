// Settings.ini and the overheating pause: what survives a restart, and what a long run waits for.
#include "core/common/Clock.h"
#include "core/search/HeatPause.h"
#include "view/LimitedPlainTextEdit.h"
#include "view/SearchRunner.h"
#include "view/TarwickView.h"

#include <QComboBox>
#include <QLineEdit>

namespace tarwick {

namespace {

// Settings keep the patterns with CR LF breaks; the box uses bare line feeds.
QString patternsForBox(const std::string& stored) {
    QString text = QString::fromLocal8Bit(stored);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string patternsForSettings(const QString& box) {
    QString text = box;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toLocal8Bit().toStdString();
}

} // namespace

void TarwickView::LoadSettings() {
    ViewSettings settings;
    settingsFile_->LoadSettings(settings, foundAddresses_);
    appIndex = settings.appIndex;
    openclIndex = settings.openclIndex;
    threadsIndex = settings.threadsIndex;
    caseInsensitive = settings.caseInsensitive;
    scrollLockLight = settings.scrollLockLight;
    playSound = settings.playSound;
    avoidOverheating = settings.avoidOverheating;
    patternsFromBox = settings.patternsFromBox;
    patternsFromFile = settings.patternsFromFile;
    patternsFilePath = settings.patternsFilePath;
    rewardAddress = settings.rewardAddress;
    savedPatterns = patternsForSettings(patternsForBox(settings.savedPatterns));
}

ViewSettings TarwickView::settingsFromForm() const {
    ViewSettings settings;
    settings.appIndex = widgets_.externalApp->currentIndex();
    settings.openclIndex = widgets_.openClPlatform->currentIndex();
    settings.threadsIndex = widgets_.cpuThreads->currentIndex();
    settings.caseInsensitive = caseInsensitive;
    settings.scrollLockLight = scrollLockLight;
    settings.playSound = playSound;
    settings.avoidOverheating = avoidOverheating;
    settings.patternsFromBox = patternsFromBox;
    settings.patternsFromFile = patternsFromFile;
    settings.patternsFilePath = patternsFilePath;
    settings.rewardAddress = widgets_.rewardAddress->text().toLocal8Bit().toStdString();
    settings.savedPatterns = patternsForSettings(widgets_.patternsBox->toPlainText());
    return settings;
}

void TarwickView::SaveSettings(bool optionsOnly) {
    settingsFile_->SaveSettings(settingsFromForm(), foundAddresses_, optionsOnly);
}

void TarwickView::takeLeftoverKeys() {
    if (checkFoundKeys(ResultsFileState::Finished)) {
        RefreshFoundList(true);
        SaveSettings(false);
    }
}

void TarwickView::OnTimer() {
    SearchRun& run = runner_->run();
    const HeatPauseTick tick = heatPauseTick(run.pauseStart(), environment_.clock->now());
    if (tick.countdown)
        widgets_.elapsedTime->setText(QString::fromLatin1(*tick.countdown));
    if (tick.resume) {
        pauseTimer_.stop();
        run.beginResume();
        OnStartSearch();
    }
}

} // namespace tarwick
