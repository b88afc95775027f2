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

// The colour drawn near the widget's lower left corner, clear of text and scroll bars.
QColor drawnBackground(QWidget& widget) {
    return widget.grab().toImage().pixelColor(5, widget.height() - 5);
}

// Which of the controls are enabled, as "1" and "0" in their order.
QString enabledOf(const Application& app, std::initializer_list<int> ids) {
    QString states;
    for (int id : ids)
        states += app.view->control(id)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void windowSizeFocusOrderAndColours();
    void menuPromptReplacesTheIdleText();
    void controlsFollowTheGeneratorAndPatternSource();
    void textLimitsRefuseExtraInput();
    void aboutBoxClosesWithOkAndEscapeAndExitClosesTheWindow();
};

void MainWindowTest::windowSizeFocusOrderAndColours() {
    Application app(8);
    MainFrame& frame = *app.frame;
    QCOMPARE(frame.width(), app.view->width());
    QVERIFY(frame.width() <= 1040 && frame.height() <= 815);
    QVERIFY(!(frame.windowFlags() & Qt::WindowMaximizeButtonHint));
    const QSize size = frame.size();
    frame.resize(size + QSize(50, 50));
    QCOMPARE(frame.size(), size);
    auto* threads = controlOf<QComboBox>(*app.view, ControlId::CpuThreads);
    QVERIFY(threads->count() == 8 && threads->currentText() == QStringLiteral("1"));
    QCOMPARE(controlOf<QComboBox>(*app.view, ControlId::OpenClPlatform)->count(), 24);

    const QList<int> tabOrder{1000, 1010, 1032, 1020, 1021, 1022, 1023, 1024,
                              1029, 1030, 1031, 1011, 1033, 1034, 1035, 1036};
    QList<int> chain;
    for (QWidget* w = app.view->control(ControlId::FoundList); chain.size() < tabOrder.size();
         w = w->nextInFocusChain())
        if (const int id = w->property(controlIdProperty).toInt(); id != 0 && !chain.contains(id))
            chain << id;
    QCOMPARE(chain, tabOrder);
    QCOMPARE(app.view->control(ControlId::StopSearch)->geometry(),
             app.view->control(ControlId::StartSearch)->geometry());

    const QColor consoleBg(0x25, 0x25, 0x26), grey(0x40, 0x40, 0x40);
    QWidget* patterns = app.view->control(ControlId::PatternsBox);
    QCOMPARE(drawnBackground(*app.view), grey);
    for (QWidget* box : {static_cast<QWidget*>(&app.view->console()), patterns,
                         app.view->control(ControlId::Progress)})
        QCOMPARE(drawnBackground(*box), consoleBg);
    patterns->setEnabled(false);
    QCOMPARE(drawnBackground(*patterns), grey);
}

void MainWindowTest::menuPromptReplacesTheIdleText() {
    Application app;
    QStatusBar* bar = app.frame->statusBar();
    auto* idle = bar->findChild<QLabel*>(QStringLiteral("idleText"));
    QVERIFY(idle && idle->isVisible());
    QVERIFY(!app.frame->command(CommandId::ExportAll)->isEnabled()); // nothing found yet
    QAction* exitItem = app.frame->command(CommandId::Exit);
    auto* file = qobject_cast<QMenu*>(exitItem->associatedObjects().first());
    app.frame->menuBar()->setActiveAction(file->menuAction());
    QVERIFY(QTest::qWaitForWindowExposed(file));
    QTest::mouseMove(file, file->actionGeometry(exitItem).center());
    QTRY_COMPARE(file->activeAction(), exitItem);
    QCOMPARE(bar->currentMessage(), QStringLiteral("Quit application"));
    QVERIFY(!idle->isVisible());
    file->close();
    QTRY_VERIFY(bar->currentMessage().isEmpty() && idle->isVisible());
    QAction* statusBar = app.frame->command(CommandId::ToggleStatusBar);
    statusBar->trigger();
    QVERIFY(!bar->isVisible() && !statusBar->isChecked());
}

void MainWindowTest::controlsFollowTheGeneratorAndPatternSource() {
    // The rules are the core's; this shows the form follows them and keeps what was typed.
    Application app;
    using namespace ControlId;
    const auto states = [&app] {
        return enabledOf(app, {CpuThreads, PatternsBox, OpenClPlatform, RewardAddress, SelectFile,
                               PatternsFilePath, EditPatternsFile});
    };
    QCOMPARE(states(), QStringLiteral("1100000"));
    auto* apps = controlOf<QComboBox>(*app.view, ExternalApp);
    auto* reward = controlOf<QLineEdit>(*app.view, RewardAddress);
    apps->setCurrentIndex(2);
    emit apps->activated(2);
    QCOMPARE(states(), QStringLiteral("0111000"));
    QTest::keyClicks(reward, QStringLiteral("1Reward"));
    apps->setCurrentIndex(0);
    emit apps->activated(0);
    QCOMPARE(states(), QStringLiteral("1100000"));
    QCOMPARE(reward->text(), QStringLiteral("1Reward"));

    auto* fromFile = controlOf<QRadioButton>(*app.view, PatternsFromFile);
    auto* fromBox = controlOf<QRadioButton>(*app.view, PatternsFromBox);
    QTest::keyClicks(app.view->control(PatternsBox), QStringLiteral("1Abc"));
    for (int click = 0; click < 2; ++click) // the checked radio stays checked
        QTest::mouseClick(fromFile, Qt::LeftButton, {}, QPoint(5, fromFile->height() / 2));
    QVERIFY(fromFile->isChecked() && !fromBox->isChecked());
    QCOMPARE(states(), QStringLiteral("1000111"));
    QCOMPARE(controlOf<QPlainTextEdit>(*app.view, PatternsBox)->toPlainText(),
             QStringLiteral("1Abc"));
    QTest::mouseClick(fromBox, Qt::LeftButton, {}, QPoint(5, fromBox->height() / 2));
    QVERIFY(fromBox->isChecked());
    QCOMPARE(states(), QStringLiteral("1100000"));
}

void MainWindowTest::textLimitsRefuseExtraInput() {
    Application app;
    auto* patterns = controlOf<QPlainTextEdit>(*app.view, ControlId::PatternsBox);
    patterns->setFocus();
    QTest::keyClicks(patterns, QString(1020, QLatin1Char('1')) + QStringLiteral("ABCDEFG"));
    QTest::keyClick(patterns, Qt::Key_Return);
    QCOMPARE(patterns->toPlainText(), QString(1020, QLatin1Char('1')) + QStringLiteral("ABCD"));
    auto* reward = controlOf<QLineEdit>(*app.view, ControlId::RewardAddress);
    reward->setEnabled(true);
    QTest::keyClicks(reward, QString(45, QLatin1Char('x')));
    QCOMPARE(reward->text().size(), 40);
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
    QTest::mouseClick(about()->findChild<QPushButton*>(QStringLiteral("aboutOk")), Qt::LeftButton);
    QTRY_VERIFY(!about());
    app.frame->command(CommandId::Exit)->trigger();
    QVERIFY(!app.frame->isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
