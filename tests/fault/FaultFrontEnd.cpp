// The real window (fake dialogs) over the folder it is started in, for a test to kill with
// SIGKILL. It types "1" and presses Start; then, with "start-once", closes when the run ends (the
// start first takes the keys a killed run left in results.txt); else saves until killed.
#include "GuiTestSupport.h"
#include "view/ControlIds.h"
#include "view/SearchRunner.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstring>

using namespace tarwick;

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    test::AdvancableClock clock;
    test::FakeDialogs dialogs;
    test::FakeShell shell;
    auto* view = new TarwickView({2, &clock, &dialogs, &shell, std::filesystem::current_path()});
    MainFrame frame(view);
    view->OnInitialUpdate();
    frame.show();
    qobject_cast<QPlainTextEdit*>(view->control(ControlId::PatternsBox))
        ->setPlainText(QStringLiteral("1"));
    QTimer saver;
    if (argc > 1 && std::strcmp(argv[1], "start-once") == 0) {
        QObject::connect(&view->runner(), &SearchRunner::newRunAllowedChanged, &frame,
                         [&frame](bool allowed) {
                             if (allowed) {
                                 frame.close();
                             }
                         });
    } else {
        QObject::connect(&saver, &QTimer::timeout, view,
                         [view] { view->preferences().saveFoundAddresses(); });
        saver.start(1);
    }
    qobject_cast<QPushButton*>(view->control(ControlId::StartSearch))->click();
    return QApplication::exec();
}
