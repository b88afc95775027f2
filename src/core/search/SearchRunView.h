#pragma once

#include <string_view>

namespace tarwick {

// What a run needs the form to show. The form renders; it decides nothing.
class SearchRunView {
public:
    virtual ~SearchRunView() = default;
    // startShown: " Start search" shown, " Stop search" hidden and disabled; otherwise the
    // other way round.
    virtual void showStartButton(bool startShown) = 0;
    // False while a child run lasts or an overheating pause waits to resume: disable every way
    // to a second run (Start, even when shown, and "Available OpenCL platforms").
    virtual void setNewRunAllowed(bool allowed) = 0;
    // True while a child run lasts: call SearchRun::pass(false) every 1000 ms until false.
    virtual void setPassTimerActive(bool active) = 0;
    virtual void setProgressText(std::string_view text) = 0;
    virtual void setElapsedText(std::string_view text) = 0;
};

} // namespace tarwick
