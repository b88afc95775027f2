// The real Tarwick window, offscreen, over the folder it is started in, driven without a user so
// that a test can kill it with SIGKILL at any moment. It types "1" and presses Start; then
//   search      saves everything again and again, besides the saves after each find, until killed
//   start-once  (the start first takes the keys a killed run left in results.txt) waits for the
//               run to end, closes the window and exits 0
// The dialogs are the tests' fakes; the generator is whatever vanitygen/ holds.
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
    auto* view = new TarwickView({2, &clock, &dialogs, &shell});
    MainFrame frame(view);
    view->OnInitialUpdate();
    frame.show();
    qobject_cast<QPlainTextEdit*>(view->control(ControlId::PatternsBox))
        ->setPlainText(QStringLiteral("1"));
    QTimer saver;
    if (argc > 1 && std::strcmp(argv[1], "start-once") == 0) {
        QObject::connect(&view->runner(), &SearchRunner::newRunAllowedChanged, &frame,
                         [&frame](bool allowed) {
                             if (allowed)
                                 frame.close();
                         });
    } else {
        QObject::connect(&saver, &QTimer::timeout, view, [view] { view->SaveSettings(false); });
        saver.start(1);
    }
    qobject_cast<QPushButton*>(view->control(ControlId::StartSearch))->click();
    return QApplication::exec();
}
