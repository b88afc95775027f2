#include "GuiTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <fstream>
#include <sstream>

namespace tarwick::test {

Application::Application(int logicalProcessors, const std::string& settingsIni)
    : previousFolder(QDir::currentPath()) {
    QDir::setCurrent(workingFolder.path());
    if (!settingsIni.empty())
        std::ofstream(folder() / "Settings.ini", std::ios::binary) << settingsIni;
    view = new TarwickView({logicalProcessors, &clock, &dialogs, &shell, folder()});
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

std::string settingsWithAddresses(const std::vector<std::array<std::string, 3>>& addresses) {
    std::string text = "[BTCs_found]\r\n";
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        const std::string n = std::to_string(i);
        text += "BTC_PATTERN_PUB_ENCON_" + n + "=" + addresses[i][0] + "\r\n";
        text += "BTC_ADDR_PUB_ENCON_" + n + "=" + addresses[i][1] + "\r\n";
        text += "BTC_KEY_PRIV_ENCON_" + n + "=" + addresses[i][2] + "\r\n";
    }
    return text;
}

void finishSaves(const Application& app) {
    app.view->preferences().allFoundKeysSaved();
    QCoreApplication::sendPostedEvents();
}

std::string savedSettings(const Application& app) {
    finishSaves(app);
    return fileText(app.folder() / "Settings.ini");
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void saveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("TARWICK_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QVERIFY(widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
}

} // namespace tarwick::test
