// The real window (fake dialogs) in the current folder, for a test to kill. It starts a search for
// "1"; with "start-once" it closes when that run ends, else it saves over and over until killed.
#include "GuiTestSupport.h"
#include "view/SearchRunner.h"

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
    test::controlOf<QPlainTextEdit>(*view, ControlId::PatternsBox)->setPlainText(QChar(u'1'));
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
