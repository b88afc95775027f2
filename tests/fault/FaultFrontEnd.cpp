// The real Tarwick window, offscreen, over the working folder it is started in, driven without
// a user so that a test can kill it with SIGKILL at any moment:
//
//   tarwick_fault_frontend search      types "1Ab", presses " Start search" and, besides the
//                                      saves after each find, saves everything again and again
//                                      until it is killed
//   tarwick_fault_frontend start-once  presses " Start search" (which first takes the keys a
//                                      killed run left in results.txt), waits for the run to
//                                      end, closes the window and exits 0
//
// The dialogs are the tests' fakes; the generator is whatever vanitygen/ holds.
#include "GuiTestSupport.h"
#include "view/ControlIds.h"
#include "view/SearchRunner.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstring>

using namespace tarwick;

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bool startOnce = argc > 1 && std::strcmp(argv[1], "start-once") == 0;

    test::AdvancableClock clock;
    test::FakeDialogs dialogs;
    test::FakeShell shell;
    auto* view = new TarwickView({2, &clock, &dialogs, &shell, std::filesystem::current_path()});
    MainFrame frame(view);
    view->OnInitialUpdate();
    frame.show();

    auto* box = qobject_cast<QPlainTextEdit*>(view->control(ControlId::PatternsBox));
    auto* start = qobject_cast<QPushButton*>(view->control(ControlId::StartSearch));
    box->setPlainText(QStringLiteral("1Ab"));
    QTimer saver;
    if (startOnce) {
        QObject::connect(&view->runner(), &SearchRunner::newRunAllowedChanged, &frame,
                         [&frame](bool allowed) {
                             if (allowed)
                                 frame.close();
                         });
    } else {
        saver.setInterval(1);
        QObject::connect(&saver, &QTimer::timeout, view,
                         [view] { view->preferences().saveFoundAddresses(); });
        saver.start();
    }
    start->click();
    const int result = QApplication::exec();
    std::printf("%zu addresses\n", view->foundAddresses().size());
    return result;
}
