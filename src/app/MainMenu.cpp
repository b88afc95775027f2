#include "app/MainMenu.h"

#include "view/Artwork.h"
#include "view/ControlIds.h"
#include "view/SearchRunner.h"
#include "view/TarwickView.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>

namespace tarwick {

namespace {

QAction* addCommand(QMenu& menu, int commandId, const char* text, const char* prompt,
                    int bitmapId = 0) {
    QAction* action = menu.addAction(QString::fromLatin1(text));
    action->setProperty(controlIdProperty, commandId);
    action->setObjectName(QStringLiteral("command%1").arg(commandId));
    action->setStatusTip(QString::fromLatin1(prompt));
    if (bitmapId != 0) {
        action->setIcon(QIcon(artwork(bitmapId, {16, 16})));
    }
    action->setIconVisibleInMenu(bitmapId != 0);
    return action;
}

// An Options item: flips its preference, and its check mark follows the preference whoever
// changes it.
void addOption(QMenu& menu, int commandId, const char* text, const char* prompt,
               Preferences& preferences, bool ViewSettings::*flag) {
    QAction* action = addCommand(menu, commandId, text, prompt);
    action->setCheckable(true);
    action->setChecked(preferences.values().*flag);
    preferences.onChanged([action = QPointer<QAction>(action), &preferences, flag] {
        if (action) {
            action->setChecked(preferences.values().*flag);
        }
    });
    QObject::connect(action, &QAction::triggered, action,
                     [&preferences, flag] { preferences.toggle(flag); });
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
    Preferences& preferences = view.preferences();
    addOption(*options, CommandId::CaseInsensitive, "&Case-insensitive",
              "Search for patterns regardless of upper or lower case", preferences,
              &ViewSettings::caseInsensitive);
    addOption(*options, CommandId::PlaySound, "&Play sound if found",
              "Plays a sound each time a Bitcoin address is found", preferences,
              &ViewSettings::playSound);
    addOption(*options, CommandId::ScrollLockLight, "&Turn on ScrollLock light if found",
              "Turn on keyboard ScrollLock light if Bitcoin address is found", preferences,
              &ViewSettings::scrollLockLight);
    addOption(*options, CommandId::AvoidOverheating, "&Avoid overheating",
              "Pause the search process every 30 minutes to avoid CPU or GPU overheating",
              preferences, &ViewSettings::avoidOverheating);

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
