#include "view/TarwickView.h"

#include "core/common/UserDialogs.h"
#include "core/form/ChoiceLists.h"
#include "core/form/ControlStates.h"
#include "core/help/HelpTexts.h"
#include "core/search/GeneratorNames.h"
#include "core/search/StartDecision.h"
#include "core/search/StartMessages.h"
#include "core/settings/SettingsMapping.h"
#include "platform/ThreadPriority.h"
#include "view/Artwork.h"
#include "view/ConsoleLog.h"
#include "view/ConsolePalette.h"
#include "view/ControlIds.h"
#include "view/FormColours.h"
#include "view/FormFonts.h"
#include "view/FoundListModel.h"
#include "view/LimitedPlainTextEdit.h"
#include "view/SearchRunner.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace tarwick {

namespace {

QString fromLocal(const std::string& text) {
    return QString::fromLocal8Bit(text);
}
std::string toLocal(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

} // namespace

TarwickView::TarwickView(const FormEnvironment& environment, QWidget* parent)
    : QWidget(parent), environment_(environment),
      workDir_(QDir::currentPath().toLocal8Bit().toStdString()) {
    setObjectName(QStringLiteral("tarwickView"));
    setFont(formFont());
    const DialogBaseUnits base = baseUnitsOf(*this);
    setFixedSize(dialogUnitsToPixelsX(formWidthUnits, base),
                 dialogUnitsToPixelsY(formHeightUnits, base));
    widgets_ = createFormWidgets(*this, base);
    applyFormColours(*this, widgets_);
    runner_ =
        std::make_unique<SearchRunner>(widgets_, *widgets_.console, *environment_.clock, workDir_);
    foundListModel_ = new FoundListModel(foundAddresses_, this);
    widgets_.foundList->setModel(foundListModel_);
    pauseTimer_.setInterval(1000);
    connect(&pauseTimer_, &QTimer::timeout, this, [this] { OnTimer(); });
    connectHandlers();
    connectRunHooks();
    settingsSaver_ = std::make_unique<SettingsSaver>(
        workDir_ / "Settings.ini", *widgets_.console,
        [this](std::function<void()> task) {
            QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
        },
        LowerCurrentThreadPriority);
    foundKeyScanner_ = std::make_unique<FoundKeyScanner>(runner_->run().resultsPath());
    LoadSettings();
}

TarwickView::~TarwickView() {
    // The last save ends, and the saver's thread stops, while the form is still whole.
    settingsSaver_.reset();
}

QWidget* TarwickView::control(int controlId) const {
    for (QWidget* child : findChildren<QWidget*>())
        if (child->property(controlIdProperty).toInt() == controlId)
            return child;
    return nullptr;
}

void TarwickView::connectHandlers() {
    connect(widgets_.externalApp, &QComboBox::activated, this,
            [this] { OnSelchangeExternalApp(); });
    connect(widgets_.openClPlatform, &QComboBox::activated, this,
            [this] { OnSelchangeOpenCLPlatform(); });
    connect(widgets_.cpuThreads, &QComboBox::activated, this, [this] { OnSelchangeCpuThreads(); });
    for (QRadioButton* radio : {widgets_.patternsFromBox, widgets_.patternsFromFile})
        connect(radio, &QRadioButton::clicked, this,
                [this, radio] { OnPatternSourceClicked(radio); });
    connect(widgets_.startSearch, &QPushButton::clicked, this, [this] { OnStartSearch(); });
    connect(widgets_.stopSearch, &QPushButton::clicked, this, [this] { OnStopSearch(); });
    connect(widgets_.selectFile, &QPushButton::clicked, this, [this] { OnSelectPatternsFile(); });
    connect(widgets_.editPatternsFile, &QPushButton::clicked, this,
            [this] { OnEditPatternsFile(); });
    connect(widgets_.foundList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { OnContextMenu(position); });
}

void TarwickView::fillCombo(QComboBox& combo, const std::vector<std::string>& items,
                            int storedIndex) {
    combo.clear();
    for (const std::string& item : items)
        combo.addItem(fromLocal(item));
    combo.setCurrentIndex(selectableIndex(storedIndex, combo.count()));
}

void TarwickView::OnInitialUpdate() {
    initialising = true;
    FormWidgets& w = widgets_;
    w.patternsBox->clear();
    w.rewardAddress->setText(fromLocal(rewardAddress));
    w.patternsFilePath->setText(fromLocal(patternsFilePath));

    for (int column = 0; column < 4; ++column)
        w.foundList->setColumnWidth(column, FoundListModel::columnWidths[column]);
    RefreshFoundList(false);

    const QFont consoleFont =
        fontWithCellHeight(QStringLiteral("MS Shell Dlg 2"), 18, QFont::Normal);
    w.console->setFont(consoleFont);
    w.console->AppendConsole(QStringLiteral("Tarwick v1.1a"), Colour::white,
                             Colour::consoleBackground, true);
    w.progress->setFont(fontWithCellHeight(QStringLiteral("Arial"), 20, QFont::Bold));

    fillCombo(*w.externalApp,
              {std::string(kCpuGenerator), std::string(kGpuGenerator), std::string(kPoolMiner)},
              appIndex);
    fillCombo(*w.openClPlatform, openClDeviceItems(), openclIndex);
    fillCombo(*w.cpuThreads, cpuThreadItems(environment_.logicalProcessors), threadsIndex);

    w.patternsBox->setPlainText(fromLocal(savedPatterns));
    w.patternsFilePath->setText(fromLocal(patternsFilePath));
    w.patternsFilePath->selectAll();
    w.rewardAddress->setText(fromLocal(rewardAddress));
    w.patternsFromBox->setChecked(patternsFromBox);
    w.patternsFromFile->setChecked(patternsFromFile);

    OnSelchangeExternalApp();
    OnSelchangeOpenCLPlatform();
    OnSelchangeCpuThreads();

    w.editPatternsFile->setIcon(QIcon(artwork(Bitmap::Edit, {24, 24})));
    w.editPatternsFile->setIconSize({24, 24});
    w.startSearch->setIcon(QIcon(artwork(Bitmap::Play, {16, 16})));
    w.stopSearch->setIcon(QIcon(artwork(Bitmap::Stop, {16, 16})));
    initialising = false;
}

void TarwickView::UpdateControlStates() {
    const ControlStates states = controlStatesFor(externalApp, patternsFromBox);
    FormWidgets& w = widgets_;
    w.openClPlatform->setEnabled(states.openClPlatform);
    w.cpuThreads->setEnabled(states.cpuThreads);
    w.rewardAddress->setEnabled(states.rewardAddress);
    w.patternsBox->setEnabled(states.patternsBox);
    w.selectFile->setEnabled(states.selectFile);
    w.patternsFilePath->setEnabled(states.patternsFilePath);
    w.editPatternsFile->setEnabled(states.editPatternsFile);
}

void TarwickView::OnSelchangeExternalApp() {
    externalApp = toLocal(widgets_.externalApp->currentText());
    UpdateControlStates();
    if (!initialising)
        SaveSettings(true);
}

void TarwickView::OnSelchangeOpenCLPlatform() {
    openclDevice = toLocal(widgets_.openClPlatform->currentText());
    if (!initialising)
        SaveSettings(true);
}

void TarwickView::OnSelchangeCpuThreads() {
    cpuThreads = atoiClamped(toLocal(widgets_.cpuThreads->currentText()));
    if (!initialising)
        SaveSettings(true);
}

void TarwickView::OnPatternSourceClicked(QWidget* clicked) {
    // Radios of one group: the clicked one is checked, its partner cleared.
    widgets_.patternsFromBox->setChecked(clicked == widgets_.patternsFromBox);
    widgets_.patternsFromFile->setChecked(clicked == widgets_.patternsFromFile);
    patternsFromBox = widgets_.patternsFromBox->isChecked();
    patternsFromFile = widgets_.patternsFromFile->isChecked();
    UpdateControlStates();
    SaveSettings(true);
}

void TarwickView::OnEditCopy() {
    if (QApplication::focusWidget() == widgets_.console)
        widgets_.console->copy();
}

void TarwickView::OnCaseInsensitive() {
    caseInsensitive = !caseInsensitive;
    SaveSettings(true);
}

void TarwickView::OnPlaySound() {
    playSound = !playSound;
    SaveSettings(true);
}

void TarwickView::OnScrollLockLight() {
    scrollLockLight = !scrollLockLight;
    SaveSettings(true);
}

void TarwickView::OnAvoidOverheating() {
    avoidOverheating = !avoidOverheating;
    SaveSettings(true);
}

GeneratorOptions TarwickView::generatorOptions() const {
    GeneratorOptions options;
    options.externalApp = externalApp;
    options.cpuThreads = cpuThreads;
    options.openclDevice = openclDevice;
    options.caseInsensitive = caseInsensitive;
    options.patternsFromBox = patternsFromBox;
    options.patternsFilePath = patternsFilePath;
    options.rewardAddress = rewardAddress;
    options.poolUrl = poolUrl;
    return options;
}

void TarwickView::OnStartSearch() {
    pauseTimer_.stop();
    StartInputs inputs;
    inputs.patternsFromBox = patternsFromBox;
    inputs.patternsFromFile = patternsFromFile;
    inputs.boxText = toLocal(widgets_.patternsBox->toPlainText());
    inputs.patternsFilePath = patternsFilePath;
    inputs.externalApp = externalApp;
    inputs.rewardAddress = toLocal(widgets_.rewardAddress->text());
    if (externalApp == kPoolMiner)
        rewardAddress = inputs.rewardAddress;

    const StartDecision decision = PrepareStart(inputs, workDir_);
    switch (decision.outcome) {
    case StartOutcome::ConsoleError:
        widgets_.console->append(decision.message, ConsoleStyle::Error, true);
        return;
    case StartOutcome::MessageBox:
        environment_.dialogs->showMessage("Tarwick", decision.message);
        return;
    case StartOutcome::Go:
        break;
    }
    SaveSettings(true);
    SearchRun& run = runner_->run();
    if (run.newRunAllowed() || run.resuming())
        takeLeftoverKeys();
    // The run replaces results.txt; its generator writes the new one from the start.
    if (run.startSearch(generatorOptions(), decision.patternCount,
                        {caseInsensitive, decision.patterns}))
        foundKeyScanner_->restart();
}

void TarwickView::OnStopSearch() {
    pauseTimer_.stop();
    runner_->run().stop();
}

void TarwickView::OnListPlatforms() {
    if (!runner_->run().newRunAllowed())
        return;
    takeLeftoverKeys();
    if (runner_->run().listPlatforms(generatorOptions()))
        foundKeyScanner_->restart();
}

void TarwickView::OnSelectPatternsFile() {
    const std::optional<std::string> chosen = environment_.dialogs->choosePatternsFile();
    std::error_code error;
    if (!chosen || chosen->empty() || !std::filesystem::exists(workDir_ / *chosen, error))
        return;
    patternsFilePath = *chosen;
    widgets_.patternsFilePath->setText(fromLocal(patternsFilePath));
    widgets_.patternsFilePath->selectAll();
    SaveSettings(true);
}

void TarwickView::OnEditPatternsFile() {
    std::error_code error;
    if (patternsFilePath.empty())
        environment_.dialogs->showMessage("Tarwick", kNoFileSelectedPrompt);
    else if (!std::filesystem::exists(workDir_ / patternsFilePath, error))
        environment_.dialogs->showMessage("Tarwick", kFileNotFoundPrompt);
    else
        environment_.shell->openInTextEditor(patternsFilePath);
}

void TarwickView::OnHelpVanitygenCpu() {
    const HelpText help = VanitygenCpuHelp();
    environment_.dialogs->showMessage(help.caption, help.text);
}

void TarwickView::OnHelpVanitygenGpu() {
    const HelpText help = VanitygenGpuHelp();
    environment_.dialogs->showMessage(help.caption, help.text);
}

void TarwickView::OnHelpVanityminerPool() {
    const HelpText help = VanityminerPoolHelp(poolUrl);
    environment_.dialogs->showMessage(help.caption, help.text);
}

} // namespace tarwick
