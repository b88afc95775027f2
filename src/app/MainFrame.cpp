#include "app/MainFrame.h"

#include "app/AboutDialog.h"
#include "app/MainMenu.h"
#include "view/Artwork.h"
#include "view/ControlIds.h"
#include "view/FormFonts.h"
#include "view/TarwickView.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

namespace tarwick {

MainFrame::MainFrame(TarwickView* view, QWidget* parent) : QMainWindow(parent), view_(view) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Tarwick"));
    setWindowIcon(applicationIcon());
    // Movable and minimisable only: no sizing border, no maximise box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setCentralWidget(view_);
    createStatusBar();
    createMenus();
    move(100, 100);
    fitToForm();
}

void MainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setProperty(controlIdProperty, CommandId::ToggleStatusBar);
    bar->setSizeGripEnabled(false);
    bar->setFont(fontWithCellHeight(QStringLiteral("MS Shell Dlg 2"), 17, QFont::Medium));
    bar->setMinimumHeight(28);
    // The idle text is a normal widget: a menu item's prompt covers it while highlighted.
    idleText_ = new QLabel(QStringLiteral("Tarwick v1.1a"));
    idleText_->setObjectName(QStringLiteral("idleText"));
    bar->addWidget(idleText_, 1);
}

void MainFrame::createMenus() {
    MenuHandlers handlers;
    handlers.exportAll = [this] { view_->ExportAllAddresses(); };
    handlers.exit = [this] { close(); };
    handlers.about = [this] { OnAppAbout(); };
    buildMainMenu(*menuBar(), *view_, *statusBar(), handlers);
    // Greyed exactly while there is nothing to export.
    QAction* exportAll = command(CommandId::ExportAll);
    const auto updateExportAll = [this, exportAll] {
        exportAll->setEnabled(!view_->foundAddresses().empty());
    };
    connect(view_, &TarwickView::foundAddressesChanged, exportAll, updateExportAll);
    updateExportAll();
}

void MainFrame::fitToForm() {
    // The window holds exactly the menu, the form and the status bar.
    const int height =
        menuBar()->sizeHint().height() + view_->height() + statusBar()->sizeHint().height();
    setFixedSize(view_->width(), height);
}

QAction* MainFrame::command(int commandId) const {
    for (QAction* action : findChildren<QAction*>()) {
        if (action->property(controlIdProperty).toInt() == commandId) {
            return action;
        }
    }
    return nullptr;
}

void MainFrame::OnAppAbout() {
    auto* about = new AboutDialog(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    view_->OnStopSearch();
    view_->preferences().saveOptions();
    // The window goes only once the last save is on disk (or has failed and said so).
    view_->preferences().allFoundKeysSaved();
    event->accept();
}

} // namespace tarwick
