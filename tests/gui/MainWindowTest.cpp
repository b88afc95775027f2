#include "GuiTestSupport.h"
#include "app/AboutDialog.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

using namespace tarwick;
using tarwick::test::Application;
using tarwick::test::controlOf;

namespace {

struct MenuItem {
    QString text;
    int commandId;
    QString prompt;
    bool hasImage;
    bool checkable;
};

QStringList comboItems(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}

// Selects an item the way a user does: opening the list and clicking a row.
void chooseItem(QComboBox& combo, int index) {
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void windowIsFixedTitledAndPlaced();
    void menuBarHoldsEveryItemInOrder();
    void promptsShowWhileHighlightedAndIdleTextOtherwise();
    void statusBarCommandHidesAndShowsTheBar();
    void optionsItemsFlipTheirCheckMarks();
    void formStartsInItsDefaultState();
    void everyControlHasItsIdAndTabOrder();
    void comboListsHoldTheirItems();
    void generatorChoiceEnablesItsControls_data();
    void generatorChoiceEnablesItsControls();
    void patternSourceRadiosSwitchTheControls();
    void textLimitsRefuseExtraInput();
    void colourRulesOfTheForm();
    void exitClosesTheWindow();
    void aboutBoxShowsItsTextsAndClosesWithOkAndEscape();
    void screenshotOfTheMainWindow();
};

void MainWindowTest::windowIsFixedTitledAndPlaced() {
    Application app;
    MainFrame& frame = *app.frame;
    QCOMPARE(frame.windowTitle(), QStringLiteral("Tarwick"));
    QVERIFY(!frame.windowIcon().isNull());
    QCOMPARE(frame.pos(), QPoint(100, 100));
    QCOMPARE(frame.minimumSize(), frame.maximumSize());
    QVERIFY(!(frame.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(frame.windowFlags() & Qt::WindowMinimizeButtonHint);
    // The window is exactly menu + form + status bar, and the form is the template's size.
    QCOMPARE(frame.width(), app.view->width());
    QVERIFY(frame.height() > app.view->height());
    QVERIFY(frame.width() <= 1040 && frame.height() <= 815);
    frame.resize(frame.width() + 50, frame.height() + 50);
    QCOMPARE(frame.size(), frame.minimumSize());
}

void MainWindowTest::menuBarHoldsEveryItemInOrder() {
    Application app;
    const QList<QAction*> menus = app.frame->menuBar()->actions();
    QStringList titles;
    for (QAction* menu : menus)
        titles << menu->text();
    QCOMPARE(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Options"),
                                  QStringLiteral("Open&CL"), QStringLiteral("&View"),
                                  QStringLiteral("&Help")}));

    const QList<QList<MenuItem>> expected{
        {{QStringLiteral("&Export Bitcoin addresses found"), 1100,
          QStringLiteral("Save all Bitcoin addresses found in a file"), true, false},
         {QString(), 0, QString(), false, false},
         {QStringLiteral("E&xit"), 57665, QStringLiteral("Quit application"), true, false}},
        {{QStringLiteral("&Case-insensitive"), 1106,
          QStringLiteral("Search for patterns regardless of upper or lower case"), false, true},
         {QStringLiteral("&Play sound if found"), 1108,
          QStringLiteral("Plays a sound each time a Bitcoin address is found"), false, true},
         {QStringLiteral("&Turn on ScrollLock light if found"), 1107,
          QStringLiteral("Turn on keyboard ScrollLock light if Bitcoin address is found"), false,
          true},
         {QStringLiteral("&Avoid overheating"), 1105,
          QStringLiteral(
              "Pause the search process every 30 minutes to avoid CPU or GPU overheating"),
          false, true}},
        {{QStringLiteral("&Available OpenCL platforms"), 1101,
          QStringLiteral("Show available OpenCL platforms in your system"), true, false}},
        {{QStringLiteral("&Status Bar"), 59393, QStringLiteral("Show or hide the status bar"),
          false, true}},
        {{QStringLiteral("&Vanitygen CPU"), 1102,
          QStringLiteral("What is Vanitygen CPU and how to use"), true, false},
         {QStringLiteral("Vanitygen &GPU"), 1103,
          QStringLiteral("What is Vanitygen GPU and how to use"), true, false},
         {QStringLiteral("Vanityminer &pool GPU"), 1104,
          QStringLiteral("What is Vanityminer GPU and how to use"), true, false},
         {QString(), 0, QString(), false, false},
         {QStringLiteral("&About Tarwick ..."), 57664,
          QStringLiteral("Display application information"), true, false}}};

    QCOMPARE(menus.size(), expected.size());
    for (int m = 0; m < menus.size(); ++m) {
        const QList<QAction*> items = menus[m]->menu()->actions();
        QCOMPARE(items.size(), expected[m].size());
        for (int i = 0; i < items.size(); ++i) {
            const MenuItem& want = expected[m][i];
            QAction* item = items[i];
            if (want.commandId == 0) {
                QVERIFY(item->isSeparator());
                continue;
            }
            QCOMPARE(item->text(), want.text);
            QCOMPARE(item->property(controlIdProperty).toInt(), want.commandId);
            QCOMPARE(item->statusTip(), want.prompt);
            QCOMPARE(!item->icon().isNull(), want.hasImage);
            QCOMPARE(item->isCheckable(), want.checkable);
        }
    }
}

void MainWindowTest::promptsShowWhileHighlightedAndIdleTextOtherwise() {
    Application app;
    QStatusBar* bar = app.frame->statusBar();
    auto* idle = bar->findChild<QLabel*>(QStringLiteral("idleText"));
    QVERIFY(idle);
    QCOMPARE(idle->text(), QStringLiteral("Tarwick v1.1a"));
    QVERIFY(idle->isVisible());
    QVERIFY(bar->currentMessage().isEmpty());

    // With nothing found yet the export item is greyed; its neighbour shows its prompt.
    QVERIFY(!app.frame->command(CommandId::ExportAll)->isEnabled());
    QAction* exitItem = app.frame->command(CommandId::Exit);
    auto* file = qobject_cast<QMenu*>(exitItem->associatedObjects().first());
    app.frame->menuBar()->setActiveAction(file->menuAction());
    QVERIFY(QTest::qWaitForWindowExposed(file));
    QTest::mouseMove(file, file->actionGeometry(exitItem).center());
    QTRY_COMPARE(file->activeAction(), exitItem);
    QCOMPARE(bar->currentMessage(), QStringLiteral("Quit application"));
    QVERIFY(!idle->isVisible());
    file->close();
    QTRY_VERIFY(bar->currentMessage().isEmpty());
    QVERIFY(idle->isVisible());
}

void MainWindowTest::statusBarCommandHidesAndShowsTheBar() {
    Application app;
    QAction* toggle = app.frame->command(CommandId::ToggleStatusBar);
    QVERIFY(toggle->isChecked());
    toggle->trigger();
    QVERIFY(!app.frame->statusBar()->isVisible());
    QVERIFY(!toggle->isChecked());
    toggle->trigger();
    QVERIFY(app.frame->statusBar()->isVisible());
    QVERIFY(toggle->isChecked());
}

void MainWindowTest::optionsItemsFlipTheirCheckMarks() {
    Application app;
    struct Option {
        int commandId;
        bool ViewSettings::*flag;
    };
    for (const Option& option :
         {Option{CommandId::CaseInsensitive, &ViewSettings::caseInsensitive},
          Option{CommandId::PlaySound, &ViewSettings::playSound},
          Option{CommandId::ScrollLockLight, &ViewSettings::scrollLockLight},
          Option{CommandId::AvoidOverheating, &ViewSettings::avoidOverheating}}) {
        QAction* item = app.frame->command(option.commandId);
        const ViewSettings& chosen = app.view->preferences().values();
        QVERIFY(!(chosen.*option.flag));
        item->trigger();
        QVERIFY(chosen.*option.flag);
        QVERIFY(item->isChecked());
        item->trigger();
        QVERIFY(!(chosen.*option.flag));
        QVERIFY(!item->isChecked());
    }
    // The check mark follows the preference, whoever changed it.
    app.view->preferences().set(&ViewSettings::playSound, true);
    QVERIFY(app.frame->command(CommandId::PlaySound)->isChecked());
}

void MainWindowTest::formStartsInItsDefaultState() {
    Application app;
    const TarwickView& v = *app.view;
    auto* apps = controlOf<QComboBox>(v, ControlId::ExternalApp);
    auto* platform = controlOf<QComboBox>(v, ControlId::OpenClPlatform);
    auto* threads = controlOf<QComboBox>(v, ControlId::CpuThreads);
    QCOMPARE(apps->currentText(), QStringLiteral("Vanitygen (CPU)"));
    QVERIFY(!platform->isEnabled());
    QCOMPARE(platform->currentText(), QStringLiteral("0:0"));
    QVERIFY(threads->isEnabled());
    QCOMPARE(threads->currentText(), QStringLiteral("1"));
    auto* reward = controlOf<QLineEdit>(v, ControlId::RewardAddress);
    QVERIFY(!reward->isEnabled());
    QVERIFY(reward->text().isEmpty());
    QVERIFY(controlOf<QRadioButton>(v, ControlId::PatternsFromBox)->isChecked());
    QVERIFY(!controlOf<QRadioButton>(v, ControlId::PatternsFromFile)->isChecked());
    auto* patterns = controlOf<QPlainTextEdit>(v, ControlId::PatternsBox);
    QVERIFY(patterns->isEnabled());
    QVERIFY(patterns->toPlainText().isEmpty());
    for (int id : {ControlId::SelectFile, ControlId::PatternsFilePath, ControlId::EditPatternsFile})
        QVERIFY2(!v.control(id)->isEnabled(), qPrintable(QString::number(id)));
    QVERIFY(controlOf<QPushButton>(v, ControlId::StartSearch)->isVisible());
    QVERIFY(!controlOf<QPushButton>(v, ControlId::StopSearch)->isVisible());
    QVERIFY(!controlOf<QPushButton>(v, ControlId::StopSearch)->isEnabled());
    QCOMPARE(v.console().toPlainText(), QStringLiteral("Tarwick v1.1a\n"));
    QCOMPARE(v.generatorOptions().externalApp, std::string("Vanitygen (CPU)"));
    QCOMPARE(v.generatorOptions().openclDevice, std::string("0:0"));
    QCOMPARE(v.generatorOptions().cpuThreads, 1);
    QVERIFY(!v.initialising);
}

void MainWindowTest::everyControlHasItsIdAndTabOrder() {
    Application app;
    const QList<int> tabOrder{1000, 1010, 1032, 1020, 1021, 1022, 1023, 1024,
                              1029, 1030, 1031, 1011, 1033, 1034, 1035, 1036};
    QList<int> found;
    for (QWidget* child : app.view->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const int id = child->property(controlIdProperty).toInt();
        if (id != 0)
            found << id;
    }
    QCOMPARE(found, tabOrder);
    // Focus moves through the controls in template order.
    QList<int> chain;
    QWidget* start = app.view->control(ControlId::FoundList);
    for (QWidget* w = start; chain.size() < tabOrder.size(); w = w->nextInFocusChain()) {
        const int id = w->property(controlIdProperty).toInt();
        if (id != 0 && !chain.contains(id))
            chain << id;
    }
    QCOMPARE(chain, tabOrder);
    QCOMPARE(app.view->control(ControlId::StopSearch)->geometry(),
             app.view->control(ControlId::StartSearch)->geometry());
}

void MainWindowTest::comboListsHoldTheirItems() {
    Application app(8);
    QCOMPARE(
        comboItems(*controlOf<QComboBox>(*app.view, ControlId::ExternalApp)),
        (QStringList{QStringLiteral("Vanitygen (CPU)"), QStringLiteral("Vanitygen (OpenCL GPU)"),
                     QStringLiteral("Vanityminer pool (OpenCL GPU)")}));
    const QStringList devices =
        comboItems(*controlOf<QComboBox>(*app.view, ControlId::OpenClPlatform));
    QCOMPARE(devices.size(), 24);
    QCOMPARE(devices.first(), QStringLiteral("0:0"));
    QCOMPARE(devices[6], QStringLiteral("1:0"));
    QCOMPARE(devices.last(), QStringLiteral("3:5"));
    QCOMPARE(comboItems(*controlOf<QComboBox>(*app.view, ControlId::CpuThreads)),
             QStringLiteral("1 2 3 4 5 6 7 8").split(QLatin1Char(' ')));
}

void MainWindowTest::generatorChoiceEnablesItsControls_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("app");
    QTest::addColumn<bool>("platform");
    QTest::addColumn<bool>("threads");
    QTest::addColumn<bool>("reward");
    QTest::newRow("cpu") << 0 << QStringLiteral("Vanitygen (CPU)") << false << true << false;
    QTest::newRow("opencl") << 1 << QStringLiteral("Vanitygen (OpenCL GPU)") << true << false
                            << false;
    QTest::newRow("pool") << 2 << QStringLiteral("Vanityminer pool (OpenCL GPU)") << true << false
                          << true;
}

void MainWindowTest::generatorChoiceEnablesItsControls() {
    QFETCH(int, index);
    QFETCH(QString, app);
    QFETCH(bool, platform);
    QFETCH(bool, threads);
    QFETCH(bool, reward);
    Application a;
    auto* reward_box = controlOf<QLineEdit>(*a.view, ControlId::RewardAddress);
    // Choose the pool first and type an address, so a later choice can show it is kept.
    chooseItem(*controlOf<QComboBox>(*a.view, ControlId::ExternalApp), 2);
    QTest::keyClicks(reward_box, QStringLiteral("1Reward"));
    chooseItem(*controlOf<QComboBox>(*a.view, ControlId::ExternalApp), index);
    QCOMPARE(QString::fromStdString(a.view->generatorOptions().externalApp), app);
    QCOMPARE(a.view->control(ControlId::OpenClPlatform)->isEnabled(), platform);
    QCOMPARE(a.view->control(ControlId::CpuThreads)->isEnabled(), threads);
    QCOMPARE(reward_box->isEnabled(), reward);
    QCOMPARE(reward_box->text(), QStringLiteral("1Reward"));
}

void MainWindowTest::patternSourceRadiosSwitchTheControls() {
    Application app;
    auto* fromFile = controlOf<QRadioButton>(*app.view, ControlId::PatternsFromFile);
    auto* fromBox = controlOf<QRadioButton>(*app.view, ControlId::PatternsFromBox);
    auto* patterns = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    QTest::keyClicks(patterns, QStringLiteral("1Abc"));
    QTest::mouseClick(fromFile, Qt::LeftButton, {}, QPoint(5, fromFile->height() / 2));
    QVERIFY(fromFile->isChecked());
    QVERIFY(!fromBox->isChecked());
    QVERIFY(!app.view->preferences().values().patternsFromBox &&
            app.view->preferences().values().patternsFromFile);
    QVERIFY(!patterns->isEnabled());
    QCOMPARE(patterns->toPlainText(), QStringLiteral("1Abc"));
    for (int id : {ControlId::SelectFile, ControlId::PatternsFilePath, ControlId::EditPatternsFile})
        QVERIFY(app.view->control(id)->isEnabled());
    // Clicking the radio that is already checked keeps it checked.
    QTest::mouseClick(fromFile, Qt::LeftButton, {}, QPoint(5, fromFile->height() / 2));
    QVERIFY(fromFile->isChecked());
    QTest::mouseClick(fromBox, Qt::LeftButton, {}, QPoint(5, fromBox->height() / 2));
    QVERIFY(fromBox->isChecked() && !fromFile->isChecked());
    QVERIFY(patterns->isEnabled());
    QVERIFY(!app.view->control(ControlId::SelectFile)->isEnabled());
}

void MainWindowTest::textLimitsRefuseExtraInput() {
    Application app;
    auto* patterns = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    patterns->setFocus();
    QTest::keyClicks(patterns, QString(1020, QLatin1Char('1')));
    QTest::keyClicks(patterns, QStringLiteral("ABCDEFG"));
    QCOMPARE(patterns->toPlainText().size(), 1024);
    QVERIFY(patterns->toPlainText().endsWith(QStringLiteral("1ABCD")));
    QTest::keyClick(patterns, Qt::Key_Return);
    QCOMPARE(patterns->toPlainText().size(), 1024);

    chooseItem(*controlOf<QComboBox>(*app.view, ControlId::ExternalApp), 2);
    auto* reward = controlOf<QLineEdit>(*app.view, ControlId::RewardAddress);
    QTest::keyClicks(reward, QString(45, QLatin1Char('x')));
    QCOMPARE(reward->text().size(), 40);
    QCOMPARE(controlOf<QLineEdit>(*app.view, ControlId::PatternsFilePath)->maxLength(), 260);
}

void MainWindowTest::colourRulesOfTheForm() {
    Application app;
    const QColor amber(0xD9, 0xA7, 0x51), consoleBg(0x25, 0x25, 0x26), grey(0x40, 0x40, 0x40),
        white(Qt::white);
    QCOMPARE(app.view->palette().color(QPalette::Window), grey);
    auto* patterns = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    QCOMPARE(patterns->palette().color(QPalette::Active, QPalette::Text), amber);
    QCOMPARE(patterns->palette().color(QPalette::Active, QPalette::Base), consoleBg);
    QCOMPARE(patterns->palette().color(QPalette::Disabled, QPalette::Text), white);
    QCOMPARE(patterns->palette().color(QPalette::Disabled, QPalette::Base), grey);
    for (int id : {ControlId::Progress, ControlId::ElapsedTime, ControlId::RewardAddress}) {
        QWidget* box = app.view->control(id);
        for (auto group : {QPalette::Active, QPalette::Disabled}) {
            QCOMPARE(box->palette().color(group, QPalette::Text), amber);
            QCOMPARE(box->palette().color(group, QPalette::Base), consoleBg);
        }
    }
    QCOMPARE(app.view->control(ControlId::PatternsFilePath)->palette().color(QPalette::Text),
             white);
    for (QLabel* label : app.view->findChildren<QLabel*>())
        QCOMPARE(label->palette().color(QPalette::WindowText), white);
    for (int id : {ControlId::PatternsFromBox, ControlId::PatternsFromFile})
        QCOMPARE(app.view->control(id)->palette().color(QPalette::WindowText), white);
    for (int id : {ControlId::ExternalApp, ControlId::OpenClPlatform, ControlId::CpuThreads}) {
        QAbstractItemView* list = controlOf<QComboBox>(*app.view, id)->view();
        QCOMPARE(list->palette().color(QPalette::Text), amber);
        QCOMPARE(list->palette().color(QPalette::Base), consoleBg);
    }
    QCOMPARE(app.view->console().palette().color(QPalette::Base), consoleBg);
}

void MainWindowTest::exitClosesTheWindow() {
    Application app;
    QVERIFY(app.frame->isVisible());
    app.frame->command(CommandId::Exit)->trigger();
    QVERIFY(!app.frame->isVisible());
}

void MainWindowTest::aboutBoxShowsItsTextsAndClosesWithOkAndEscape() {
    Application app;
    app.frame->command(CommandId::About)->trigger();
    auto* about = app.frame->findChild<AboutDialog*>();
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->windowTitle(), QStringLiteral("About Tarwick"));
    QVERIFY(about->isModal());
    QStringList texts;
    for (QLabel* label : about->findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("Tarwick v1.1a")));
    QVERIFY(texts.contains(QStringLiteral("Donations:")));
    QVERIFY(texts.contains(QStringLiteral("Vanitygen:")));
    QVERIFY(texts.contains(QString::fromLatin1(donationAddress)));
    struct Link {
        int id;
        const char* tooltip;
    };
    for (const Link& link : {Link{1016, "Visit Tarwick Official Web Site"},
                             Link{1017, "You can send BTC to the following address:"},
                             Link{1120, "Visit Vanitygen Wiki"}}) {
        QLabel* found = nullptr;
        for (QLabel* label : about->findChildren<QLabel*>())
            if (label->property(controlIdProperty).toInt() == link.id)
                found = label;
        QVERIFY(found);
        QCOMPARE(found->toolTip(), QString::fromLatin1(link.tooltip));
        QVERIFY(found->text().contains(QStringLiteral(">Go:<")));
        QVERIFY(found->property("url").toString().startsWith(QStringLiteral("https://")));
    }
    test::saveScreenshot(*about, QStringLiteral("about"));
    QTest::keyClick(about, Qt::Key_Escape);
    QTRY_VERIFY(app.frame->findChild<AboutDialog*>() == nullptr);

    app.frame->command(CommandId::About)->trigger();
    about = app.frame->findChild<AboutDialog*>();
    QVERIFY(about);
    auto* ok = about->findChild<QPushButton*>(QStringLiteral("aboutOk"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QTRY_VERIFY(app.frame->findChild<AboutDialog*>() == nullptr);
}

void MainWindowTest::screenshotOfTheMainWindow() {
    Application app;
    test::saveScreenshot(*app.frame, QStringLiteral("main-window"));
    chooseItem(*controlOf<QComboBox>(*app.view, ControlId::ExternalApp), 2);
    test::saveScreenshot(*app.frame, QStringLiteral("main-window-pool"));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
