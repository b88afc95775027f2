#include "app/MainMenu.h"

#include "view/Artwork.h"
#include "view/ControlIds.h"
#include "view/SearchRunner.h"
#include "view/TarwickView.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace tarwick {

namespace {

QAction* addCommand(QMenu& menu, int commandId, const char* text, const char* prompt,
                    int bitmapId = 0) {
    QAction* action = menu.addAction(QString::fromLatin1(text));
    action->setProperty(controlIdProperty, commandId);
    action->setObjectName(QStringLiteral("command%1").arg(commandId));
    action->setStatusTip(QString::fromLatin1(prompt));
    if (bitmapId != 0)
        action->setIcon(QIcon(artwork(bitmapId, {16, 16})));
    action->setIconVisibleInMenu(bitmapId != 0);
    return action;
}

// An Options item: checked while its flag is set, flipped by the view's handler.
void addOption(QMenu& menu, int commandId, const char* text, const char* prompt, const bool& flag,
               std::function<void()> toggle) {
    QAction* action = addCommand(menu, commandId, text, prompt);
    action->setCheckable(true);
    QObject::connect(&menu, &QMenu::aboutToShow, action,
                     [action, &flag] { action->setChecked(flag); });
    QObject::connect(action, &QAction::triggered, action, [action, &flag, toggle] {
        toggle();
        action->setChecked(flag);
    });
}

} // namespace

void buildMainMenu(QMenuBar& menuBar, TarwickView& view, QStatusBar& statusBar,
                   const MenuHandlers& handlers) {
    QMenu* file = menuBar.addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    QObject::connect(addCommand(*file, CommandId::ExportAll, "&Export Bitcoin addresses found",
                                "Save all Bitcoin addresses found in a file", Bitmap::Sheet),
                     &QAction::triggered, &view, handlers.exportAll);
    file->addSeparator();
    QObject::connect(addCommand(*file, CommandId::Exit, "E&xit", "Quit application", Bitmap::Exit),
                     &QAction::triggered, &view, handlers.exit);

    QMenu* options = menuBar.addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("optionsMenu"));
    addOption(*options, CommandId::CaseInsensitive, "&Case-insensitive",
              "Search for patterns regardless of upper or lower case", view.caseInsensitive,
              [&view] { view.OnCaseInsensitive(); });
    addOption(*options, CommandId::PlaySound, "&Play sound if found",
              "Plays a sound each time a Bitcoin address is found", view.playSound,
              [&view] { view.OnPlaySound(); });
    addOption(*options, CommandId::ScrollLockLight, "&Turn on ScrollLock light if found",
              "Turn on keyboard ScrollLock light if Bitcoin address is found", view.scrollLockLight,
              [&view] { view.OnScrollLockLight(); });
    addOption(*options, CommandId::AvoidOverheating, "&Avoid overheating",
              "Pause the search process every 30 minutes to avoid CPU or GPU overheating",
              view.avoidOverheating, [&view] { view.OnAvoidOverheating(); });

    QMenu* openCl = menuBar.addMenu(QStringLiteral("Open&CL"));
    openCl->setObjectName(QStringLiteral("openClMenu"));
    QAction* listPlatforms =
        addCommand(*openCl, CommandId::ListPlatforms, "&Available OpenCL platforms",
                   "Show available OpenCL platforms in your system", Bitmap::Gauge);
    QObject::connect(listPlatforms, &QAction::triggered, &view,
                     [&view] { view.OnListPlatforms(); });
    // While a run lasts no second one may start, from the menu or from Start.
    QObject::connect(&view.runner(), &SearchRunner::newRunAllowedChanged, listPlatforms,
                     &QAction::setEnabled);

    QMenu* viewMenu = menuBar.addMenu(QStringLiteral("&View"));
    viewMenu->setObjectName(QStringLiteral("viewMenu"));
    QAction* toggleStatusBar = addCommand(*viewMenu, CommandId::ToggleStatusBar, "&Status Bar",
                                          "Show or hide the status bar");
    toggleStatusBar->setCheckable(true);
    toggleStatusBar->setChecked(true);
    QObject::connect(toggleStatusBar, &QAction::toggled, &statusBar, &QStatusBar::setVisible);

    QMenu* help = menuBar.addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QObject::connect(addCommand(*help, CommandId::HelpVanitygenCpu, "&Vanitygen CPU",
                                "What is Vanitygen CPU and how to use", Bitmap::Book),
                     &QAction::triggered, &view, [&view] { view.OnHelpVanitygenCpu(); });
    QObject::connect(addCommand(*help, CommandId::HelpVanitygenGpu, "Vanitygen &GPU",
                                "What is Vanitygen GPU and how to use", Bitmap::Book),
                     &QAction::triggered, &view, [&view] { view.OnHelpVanitygenGpu(); });
    QObject::connect(addCommand(*help, CommandId::HelpVanityminerPool, "Vanityminer &pool GPU",
                                "What is Vanityminer GPU and how to use", Bitmap::Book),
                     &QAction::triggered, &view, [&view] { view.OnHelpVanityminerPool(); });
    help->addSeparator();
    QObject::connect(addCommand(*help, CommandId::About, "&About Tarwick ...",
                                "Display application information", Bitmap::About),
                     &QAction::triggered, &view, handlers.about);

    // Copy has no menu item; the window-wide keys reach it whatever control has the focus.
    // Edit boxes that take Ctrl+C themselves keep doing so.
    auto* copy = new QAction(&view);
    copy->setProperty(controlIdProperty, CommandId::EditCopy);
    copy->setObjectName(QStringLiteral("command%1").arg(CommandId::EditCopy));
    copy->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    copy->setShortcutContext(Qt::WindowShortcut);
    view.addAction(copy);
    QObject::connect(copy, &QAction::triggered, &view, [&view] { view.OnEditCopy(); });
}

} // namespace tarwick
