#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "platform/QtUserDialogs.h"
#include "platform/SteadyClock.h"
#include "view/TarwickView.h"

#include <QApplication>
#include <QThread>
#include <cstdlib>

int main(int argc, char* argv[]) {
    tarwick::answerHelpOrVersion(argc, argv);
    QApplication app(argc, argv);
    if (!tarwick::enterWorkingFolder(app))
        return EXIT_FAILURE;

    tarwick::SteadyClock clock;
    tarwick::QtUserDialogs dialogs;
    tarwick::QtDesktopShell shell;
    auto* view = new tarwick::TarwickView({QThread::idealThreadCount(), &clock, &dialogs, &shell});
    tarwick::MainFrame frame(view);
    dialogs.setOwner(&frame);
    view->OnInitialUpdate();
    frame.show();
    return QApplication::exec();
}
