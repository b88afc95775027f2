#include "app/MainFrame.h"
#include "view/TarwickView.h"

#include <QApplication>
#include <QThread>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarwick"));

    auto* view = new tarwick::TarwickView({QThread::idealThreadCount()});
    tarwick::MainFrame frame(view);
    view->OnInitialUpdate();
    frame.show();
    return QApplication::exec();
}
