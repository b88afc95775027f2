#pragma once

#include <functional>

class QMenuBar;
class QStatusBar;

namespace tarwick {

class TarwickView;

// Commands the frame serves itself; the form's commands go straight to the view.
struct MenuHandlers {
    std::function<void()> exportAll;
    std::function<void()> exit;
    std::function<void()> about;
};

// File, Options, OpenCL, View and Help, in that order, each item with its status-bar prompt
// and image. Also adds the window-wide Copy command (Ctrl+C, Ctrl+Insert).
void buildMainMenu(QMenuBar& menuBar, TarwickView& view, QStatusBar& statusBar,
                   const MenuHandlers& handlers);

} // namespace tarwick
