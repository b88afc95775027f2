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
std::string patternsForSettings(const QString& box) {
    QString text = box;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toLocal8Bit().toStdString();
}

} // namespace

void TarwickView::LoadSettings() {
    settingsSaver_->LoadSettings(*this, foundAddresses_);
}

ViewSettings TarwickView::settingsFromForm() const {
    // The lists and boxes are saved as they stand, not as they were loaded.
    ViewSettings settings = *this;
    settings.appIndex = widgets_.externalApp->currentIndex();
    settings.openclIndex = widgets_.openClPlatform->currentIndex();
    settings.threadsIndex = widgets_.cpuThreads->currentIndex();
    settings.rewardAddress = widgets_.rewardAddress->text().toLocal8Bit().toStdString();
    settings.savedPatterns = patternsForSettings(widgets_.patternsBox->toPlainText());
    return settings;
}

void TarwickView::SaveSettings(bool optionsOnly) {
    settingsSaver_->SaveSettings(settingsFromForm(), foundAddresses_, optionsOnly);
}

bool TarwickView::allFoundKeysSaved() {
    return settingsSaver_->allFoundKeysSaved();
}

void TarwickView::takeLeftoverKeys() {
    if (checkFoundKeys()) {
        RefreshFoundList(true);
        SaveSettings(false);
    }
    // The new run deletes results.txt: its keys must be on disk before, not merely on the way.
    allFoundKeysSaved();
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
