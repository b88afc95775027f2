#include "GuiTestSupport.h"

#include "TestGenerators.h"

#include <QCoreApplication>
#include <QDir>
#include <iterator>

namespace tarwick::test {

Application::Application(int logicalProcessors, const std::string& settingsIni)
    : previousFolder(QDir::currentPath()) {
    QDir::setCurrent(workingFolder.path());
    if (!settingsIni.empty()) {
        std::ofstream(folder() / "Settings.ini", std::ios::binary) << settingsIni;
    }
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
        for (std::size_t field = 0; field < 3; ++field) {
            text += std::array{"BTC_PATTERN_PUB_ENCON_", "BTC_ADDR_PUB_ENCON_",
                               "BTC_KEY_PRIV_ENCON_"}[field] +
                    std::to_string(i) + "=" + addresses[i][field] + "\r\n";
        }
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

bool saved(const Application& app, const std::string& line) {
    return savedSettings(app).find(line + "\r\n") != std::string::npos;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void installScript(const Application& app, std::string_view script) {
    testing::installTestGenerators(app.folder());
    testing::writeGeneratorScript(app.folder(), script);
}

void chooseItem(Application& app, int comboId, int index) {
    auto* combo = controlOf<QComboBox>(*app.view, comboId);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void click(Application& app, int controlId) {
    QWidget* control = app.view->control(controlId);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, control->height() / 2));
}

void pressStartWith(Application& app, const QString& patterns) {
    controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox)->setPlainText(patterns);
    click(app, ControlId::StartSearch);
}

std::string foundListAddresses(const Application& app) {
    const QAbstractItemModel& list =
        *controlOf<QTableView>(*app.view, ControlId::FoundList)->model();
    std::string text;
    for (int row = 0; row < list.rowCount(); ++row) {
        text += list.index(row, 2).data().toString().toStdString() + "\n";
    }
    return text;
}

} // namespace tarwick::test
