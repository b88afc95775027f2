#pragma once

#include "core/search/SearchRun.h"
#include "platform/QtChildProcess.h"

#include <QObject>
#include <QTimer>
#include <filesystem>

namespace tarwick {

struct FormWidgets;

// Drives one SearchRun from Qt events: a 1000 ms timer for the passes and the child's end for
// the final one, so no nested event loop is ever needed. It renders what the run asks to show
// on the form's controls.
class SearchRunner final : public QObject, public SearchRunView {
    Q_OBJECT
public:
    SearchRunner(const FormWidgets& widgets, ConsoleSink& console, const Clock& clock,
                 std::filesystem::path workDir, QObject* parent = nullptr);

    SearchRun& run() { return run_; }
    const SearchRun& run() const { return run_; }

    void showStartButton(bool startShown) override;
    void setNewRunAllowed(bool allowed) override;
    void setPassTimerActive(bool active) override;
    void setProgressText(std::string_view text) override;
    void setElapsedText(std::string_view text) override;

signals:
    // Whether a new run (a search or the platform listing) may start now.
    void newRunAllowedChanged(bool allowed);

private:
    const FormWidgets& widgets_;
    QtChildProcess child_;
    SearchRun run_;
    QTimer passTimer_;
};

} // namespace tarwick
