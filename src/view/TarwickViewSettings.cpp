// Between runs: the keys a run left behind, and the overheating pause a long run waits through.
#include "core/common/Clock.h"
#include "core/search/HeatPause.h"
#include "view/LimitedPlainTextEdit.h"
#include "view/SearchRunner.h"
#include "view/TarwickView.h"

#include <QLineEdit>

namespace tarwick {

void TarwickView::takeLeftoverKeys() {
    if (checkFoundKeys()) {
        RefreshFoundList(true);
        preferences_->saveFoundAddresses();
    }
    // The new run deletes results.txt: its keys must be on disk before, not merely on the way.
    preferences_->allFoundKeysSaved();
}

void TarwickView::OnTimer() {
    SearchRun& run = runner_->run();
    const HeatPauseTick tick = heatPauseTick(run.pauseStart(), environment_.clock->now());
    if (tick.countdown) {
        widgets_.elapsedTime->setText(QString::fromLatin1(*tick.countdown));
    }
    if (tick.resume) {
        pauseTimer_.stop();
        run.beginResume();
        OnStartSearch();
    }
}

} // namespace tarwick
