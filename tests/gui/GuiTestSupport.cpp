#include "GuiTestSupport.h"

#include <QDir>
#include <QTest>

namespace tarwick::test {

Application::Application(int logicalProcessors) : previousFolder(QDir::currentPath()) {
    QDir::setCurrent(workingFolder.path());
    view = new TarwickView({logicalProcessors, &clock, &dialogs, &shell});
    frame = std::make_unique<MainFrame>(view);
    view->OnInitialUpdate();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
}

Application::~Application() {
    frame.reset();
    QDir::setCurrent(previousFolder);
}

std::filesystem::path Application::folder() const {
    return workingFolder.path().toLocal8Bit().toStdString();
}

void saveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("TARWICK_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QVERIFY(widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
}

} // namespace tarwick::test
