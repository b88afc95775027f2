#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "platform/CoreDumps.h"
#include "platform/QtUserDialogs.h"
#include "platform/SteadyClock.h"
#include "platform/TerminationSignals.h"
#include "platform/WorkingFolderLock.h"
#include "view/TarwickView.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    tarwick::disableCoreDumps();
    tarwick::answerHelpOrVersion(argc, argv);
    QApplication app(argc, argv);
    // Ended from outside (logout, kill, Ctrl+C), the program closes its windows as the user
    // would, the main one saving the keys and stopping the search, and leaves every event loop,
    // a message box's too. A request made before the event loop runs waits for it.
    const tarwick::TerminationSignals termination;
    QObject::connect(&termination, &tarwick::TerminationSignals::requested, &app, [] {
        QApplication::closeAllWindows();
        QCoreApplication::exit(EXIT_SUCCESS);
    });
    const std::optional<std::filesystem::path> workDir = tarwick::enterWorkingFolder(app);
    if (!workDir) {
        return EXIT_FAILURE;
    }

    // A second window on the same folder would save over the first one's keys.
    const tarwick::WorkingFolderLock folderLock(*workDir);
    if (folderLock.state() == tarwick::WorkingFolderLock::State::HeldByAnother) {
        const QString text = QStringLiteral("Tarwick is already running in the folder\n%1")
                                 .arg(QString::fromLocal8Bit(workDir->string()));
        std::fprintf(stderr, "%s\n", qPrintable(text)); // for a start from a terminal
        QMessageBox::warning(nullptr, QStringLiteral("Tarwick"), text);
        return EXIT_FAILURE;
    }

    tarwick::SteadyClock clock;
    tarwick::QtUserDialogs dialogs;
    tarwick::QtDesktopShell shell;
    auto* view =
        new tarwick::TarwickView({QThread::idealThreadCount(), &clock, &dialogs, &shell, *workDir});
    tarwick::MainFrame frame(view);
    dialogs.setOwner(&frame);
    view->OnInitialUpdate();
    frame.show();
    return QApplication::exec();
}
