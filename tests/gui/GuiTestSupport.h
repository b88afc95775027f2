#pragma once

#include "app/MainFrame.h"
#include "view/TarwickView.h"

#include <QTemporaryDir>
#include <memory>

namespace tarwick::test {

// The real main window over a fresh temporary working folder, built the way main() does.
struct Application {
    explicit Application(int logicalProcessors = 2);
    ~Application();

    QTemporaryDir workingFolder;
    QString previousFolder;
    TarwickView* view = nullptr;
    std::unique_ptr<MainFrame> frame;
};

template <typename Widget>
Widget* controlOf(const TarwickView& view, int controlId) {
    return qobject_cast<Widget*>(view.control(controlId));
}

// Saves a picture of the widget where the test run keeps its screenshots.
void saveScreenshot(QWidget& widget, const QString& name);

} // namespace tarwick::test
