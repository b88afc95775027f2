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

using namespace tarwick;
using tarwick::test::Application;
using tarwick::test::controlOf;

namespace {

// Selects an item the way a user does: opening the list and clicking a row.
void chooseItem(QComboBox& combo, int index) {
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

// The colour drawn near the widget's lower left corner, inside its frame, clear of text and
// scroll bars.
QColor drawnBackground(QWidget& widget) {
    return widget.grab().toImage().pixelColor(5, widget.height() - 5);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void windowKeepsItsSize();
    void promptsShowWhileHighlightedAndIdleTextOtherwise();
    void menuCommandsFlipTheirOptions();
    void formStartsInItsDefaultState();
    void focusFollowsTheTemplateOrder();
    void generatorChoiceEnablesItsControls();
    void patternSourceRadiosSwitchTheControls();
    void textLimitsRefuseExtraInput();
    void boxesAreDrawnInTheirColours();
    void aboutBoxClosesWithOkAndEscapeAndExitClosesTheWindow();
};

void MainWindowTest::windowKeepsItsSize() {
    Application app;
    MainFrame& frame = *app.frame;
    // The window is exactly menu + form + status bar, and cannot be resized or maximised.
    QCOMPARE(frame.width(), app.view->width());
    QVERIFY(frame.width() <= 1040 && frame.height() <= 815);
    QVERIFY(!(frame.windowFlags() & Qt::WindowMaximizeButtonHint));
    const QSize size = frame.size();
    frame.resize(size + QSize(50, 50));
    QCOMPARE(frame.size(), size);
}

void MainWindowTest::promptsShowWhileHighlightedAndIdleTextOtherwise() {
    Application app;
    QStatusBar* bar = app.frame->statusBar();
    auto* idle = bar->findChild<QLabel*>(QStringLiteral("idleText"));
    QVERIFY(idle && idle->isVisible());
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

void MainWindowTest::menuCommandsFlipTheirOptions() {
    Application app;
    QAction* statusBar = app.frame->command(CommandId::ToggleStatusBar);
    statusBar->trigger();
    QVERIFY(!app.frame->statusBar()->isVisible() && !statusBar->isChecked());
    statusBar->trigger();
    QVERIFY(app.frame->statusBar()->isVisible() && statusBar->isChecked());
    const std::pair<int, bool TarwickView::*> options[] = {
        {CommandId::CaseInsensitive, &TarwickView::caseInsensitive},
        {CommandId::PlaySound, &TarwickView::playSound},
        {CommandId::ScrollLockLight, &TarwickView::scrollLockLight},
        {CommandId::AvoidOverheating, &TarwickView::avoidOverheating}};
    for (const auto& [commandId, flag] : options) {
        QAction* item = app.frame->command(commandId);
        for (const bool on : {true, false}) {
            item->trigger();
            QCOMPARE(app.view->*flag, on);
            QCOMPARE(item->isChecked(), on);
        }
    }
    // The check mark follows the flag when the menu opens, whoever changed it.
    app.view->playSound = true;
    auto* menu = qobject_cast<QMenu*>(
        app.frame->command(CommandId::PlaySound)->associatedObjects().value(0));
    QVERIFY(menu);
    emit menu->aboutToShow();
    QVERIFY(app.frame->command(CommandId::PlaySound)->isChecked());
}

void MainWindowTest::formStartsInItsDefaultState() {
    Application app(8);
    const TarwickView& v = *app.view;
    auto* threads = controlOf<QComboBox>(v, ControlId::CpuThreads);
    QCOMPARE(threads->count(), 8); // one per logical processor
    QCOMPARE(threads->currentText(), QStringLiteral("1"));
    QCOMPARE(controlOf<QComboBox>(v, ControlId::OpenClPlatform)->count(), 24);
    // The CPU generator and the patterns box are chosen, and only their controls are enabled.
    QVERIFY(threads->isEnabled() && v.control(ControlId::PatternsBox)->isEnabled());
    for (int id : {ControlId::OpenClPlatform, ControlId::RewardAddress, ControlId::SelectFile,
                   ControlId::PatternsFilePath, ControlId::EditPatternsFile})
        QVERIFY2(!v.control(id)->isEnabled(), qPrintable(QString::number(id)));
}

void MainWindowTest::focusFollowsTheTemplateOrder() {
    Application app;
    const QList<int> tabOrder{1000, 1010, 1032, 1020, 1021, 1022, 1023, 1024,
                              1029, 1030, 1031, 1011, 1033, 1034, 1035, 1036};
    QList<int> chain;
    QWidget* start = app.view->control(ControlId::FoundList);
    for (QWidget* w = start; chain.size() < tabOrder.size(); w = w->nextInFocusChain()) {
        const int id = w->property(controlIdProperty).toInt();
        if (id != 0 && !chain.contains(id))
            chain << id;
    }
    QCOMPARE(chain, tabOrder);
    // Stop takes Start's place.
    QCOMPARE(app.view->control(ControlId::StopSearch)->geometry(),
             app.view->control(ControlId::StartSearch)->geometry());
}

void MainWindowTest::generatorChoiceEnablesItsControls() {
    // The rule itself is the core's; this shows the form follows it and keeps the reward text.
    Application a;
    auto* apps = controlOf<QComboBox>(*a.view, ControlId::ExternalApp);
    auto* reward = controlOf<QLineEdit>(*a.view, ControlId::RewardAddress);
    chooseItem(*apps, 2);
    QVERIFY(reward->isEnabled() && a.view->control(ControlId::OpenClPlatform)->isEnabled());
    QVERIFY(!a.view->control(ControlId::CpuThreads)->isEnabled());
    QTest::keyClicks(reward, QStringLiteral("1Reward"));
    chooseItem(*apps, 0);
    QVERIFY(!reward->isEnabled() && !a.view->control(ControlId::OpenClPlatform)->isEnabled());
    QVERIFY(a.view->control(ControlId::CpuThreads)->isEnabled());
    QCOMPARE(reward->text(), QStringLiteral("1Reward"));
}

void MainWindowTest::patternSourceRadiosSwitchTheControls() {
    Application app;
    auto* fromFile = controlOf<QRadioButton>(*app.view, ControlId::PatternsFromFile);
    auto* fromBox = controlOf<QRadioButton>(*app.view, ControlId::PatternsFromBox);
    auto* patterns = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    QTest::keyClicks(patterns, QStringLiteral("1Abc"));
    // Clicking the radio that is already checked keeps it checked.
    for (int click = 0; click < 2; ++click)
        QTest::mouseClick(fromFile, Qt::LeftButton, {}, QPoint(5, fromFile->height() / 2));
    QVERIFY(fromFile->isChecked() && !fromBox->isChecked());
    QVERIFY(!patterns->isEnabled());
    QCOMPARE(patterns->toPlainText(), QStringLiteral("1Abc"));
    for (int id : {ControlId::SelectFile, ControlId::PatternsFilePath, ControlId::EditPatternsFile})
        QVERIFY(app.view->control(id)->isEnabled());
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
    QTest::keyClick(patterns, Qt::Key_Return);
    QCOMPARE(patterns->toPlainText().size(), 1024);
    QVERIFY(patterns->toPlainText().endsWith(QStringLiteral("1ABCD")));
    chooseItem(*controlOf<QComboBox>(*app.view, ControlId::ExternalApp), 2);
    auto* reward = controlOf<QLineEdit>(*app.view, ControlId::RewardAddress);
    QTest::keyClicks(reward, QString(45, QLatin1Char('x')));
    QCOMPARE(reward->text().size(), 40);
}

void MainWindowTest::boxesAreDrawnInTheirColours() {
    Application app;
    const QColor consoleBg(0x25, 0x25, 0x26), grey(0x40, 0x40, 0x40);
    QWidget* patterns = app.view->control(ControlId::PatternsBox);
    QCOMPARE(drawnBackground(*app.view), grey);
    QCOMPARE(drawnBackground(app.view->console()), consoleBg);
    QCOMPARE(drawnBackground(*app.view->control(ControlId::Progress)), consoleBg);
    QCOMPARE(drawnBackground(*patterns), consoleBg);
    patterns->setEnabled(false);
    QCOMPARE(drawnBackground(*patterns), grey);
}

void MainWindowTest::aboutBoxClosesWithOkAndEscapeAndExitClosesTheWindow() {
    Application app;
    const auto about = [&app] { return app.frame->findChild<AboutDialog*>(); };
    app.frame->command(CommandId::About)->trigger();
    QVERIFY(about() && about()->isModal());
    QVERIFY(QTest::qWaitForWindowExposed(about()));
    QTest::keyClick(about(), Qt::Key_Escape);
    QTRY_VERIFY(!about());
    app.frame->command(CommandId::About)->trigger();
    QVERIFY(about());
    QTest::mouseClick(about()->findChild<QPushButton*>(QStringLiteral("aboutOk")), Qt::LeftButton);
    QTRY_VERIFY(!about());
    app.frame->command(CommandId::Exit)->trigger();
    QVERIFY(!app.frame->isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
