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
    : QWidget(parent), environment_(environment) {
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
    preferences_ = std::make_unique<Preferences>(
        std::make_unique<SettingsSaver>(
            workDir_ / "Settings.ini", *widgets_.console,
            [this](std::function<void()> task) {
                QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
            },
            lowerCurrentThreadPriority),
        foundAddresses_);
    foundKeyScanner_ = std::make_unique<FoundKeyScanner>(runner_->run().resultsPath());
    preferences_->load(foundAddresses_);
}

TarwickView::~TarwickView() {
    // The last save ends, and the saver's thread stops, while the form is still whole.
    preferences_.reset();
}

QWidget* TarwickView::control(int controlId) const {
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->property(controlIdProperty).toInt() == controlId) {
            return child;
        }
    }
    return nullptr;
}

void TarwickView::connectHandlers() {
    connect(widgets_.externalApp, &QComboBox::activated, this,
            [this] { OnSelchangeExternalApp(); });
    connect(widgets_.openClPlatform, &QComboBox::activated, this,
            [this] { OnSelchangeOpenCLPlatform(); });
    connect(widgets_.cpuThreads, &QComboBox::activated, this, [this] { OnSelchangeCpuThreads(); });
    for (QRadioButton* radio : {widgets_.patternsFromBox, widgets_.patternsFromFile}) {
        connect(radio, &QRadioButton::clicked, this,
                [this, radio] { OnPatternSourceClicked(radio); });
    }
    connect(widgets_.startSearch, &QPushButton::clicked, this, [this] { OnStartSearch(); });
    connect(widgets_.stopSearch, &QPushButton::clicked, this, [this] { OnStopSearch(); });
    connect(widgets_.selectFile, &QPushButton::clicked, this, [this] { OnSelectPatternsFile(); });
    connect(widgets_.editPatternsFile, &QPushButton::clicked, this,
            [this] { OnEditPatternsFile(); });
    connect(widgets_.foundList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { OnContextMenu(position); });
    connect(widgets_.rewardAddress, &QLineEdit::textChanged, this, [this] { keepBoxTexts(); });
    connect(widgets_.patternsBox, &QPlainTextEdit::textChanged, this, [this] { keepBoxTexts(); });
}

void TarwickView::keepBoxTexts() {
    // Until the form is filled the boxes do not show the preferences yet.
    if (initialising) {
        return;
    }
    QString patterns = widgets_.patternsBox->toPlainText();
    // Settings keep the patterns with CR LF breaks; the box uses bare line feeds.
    patterns.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    preferences_->keep(&ViewSettings::savedPatterns, toLocal(patterns));
    preferences_->keep(&ViewSettings::rewardAddress, toLocal(widgets_.rewardAddress->text()));
}

void TarwickView::takeSelection(int ViewSettings::*field, int index) {
    if (initialising) {
        preferences_->keep(field, index);
    } else {
        preferences_->set(field, index);
    }
}

void TarwickView::fillCombo(QComboBox& combo, const std::vector<std::string>& items,
                            int storedIndex) {
    combo.clear();
    for (const std::string& item : items) {
        combo.addItem(fromLocal(item));
    }
    combo.setCurrentIndex(selectableIndex(storedIndex, combo.count()));
}

void TarwickView::OnInitialUpdate() {
    initialising = true;
    // A copy: taking the lists' selections below changes the preferences.
    const ViewSettings loaded = preferences_->values();
    FormWidgets& w = widgets_;
    w.patternsBox->clear();
    w.rewardAddress->setText(fromLocal(loaded.rewardAddress));
    w.patternsFilePath->setText(fromLocal(loaded.patternsFilePath));

    for (int column = 0; column < 4; ++column) {
        w.foundList->setColumnWidth(column, FoundListModel::columnWidths[column]);
    }
    RefreshFoundList(false);

    const QFont consoleFont =
        fontWithCellHeight(QStringLiteral("MS Shell Dlg 2"), 18, QFont::Normal);
    w.console->setFont(consoleFont);
    w.console->AppendConsole(QStringLiteral("Tarwick v1.1a"), Colour::white,
                             Colour::consoleBackground, true);
    w.progress->setFont(fontWithCellHeight(QStringLiteral("Arial"), 20, QFont::Bold));

    fillCombo(*w.externalApp,
              {std::string(kCpuGenerator), std::string(kGpuGenerator), std::string(kPoolMiner)},
              loaded.appIndex);
    fillCombo(*w.openClPlatform, openClDeviceItems(), loaded.openclIndex);
    fillCombo(*w.cpuThreads, cpuThreadItems(environment_.logicalProcessors), loaded.threadsIndex);

    w.patternsBox->setPlainText(fromLocal(loaded.savedPatterns));
    w.patternsFilePath->setText(fromLocal(loaded.patternsFilePath));
    w.patternsFilePath->selectAll();
    w.rewardAddress->setText(fromLocal(loaded.rewardAddress));
    w.patternsFromBox->setChecked(loaded.patternsFromBox);
    w.patternsFromFile->setChecked(loaded.patternsFromFile);

    OnSelchangeExternalApp();
    OnSelchangeOpenCLPlatform();
    OnSelchangeCpuThreads();

    w.editPatternsFile->setIcon(QIcon(artwork(Bitmap::Edit, {24, 24})));
    w.editPatternsFile->setIconSize({24, 24});
    w.startSearch->setIcon(QIcon(artwork(Bitmap::Play, {16, 16})));
    w.stopSearch->setIcon(QIcon(artwork(Bitmap::Stop, {16, 16})));
    initialising = false;
    // From now on the boxes are saved as they stand, as loaded until the user types.
    keepBoxTexts();
}

void TarwickView::UpdateControlStates() {
    const ControlStates states =
        controlStatesFor(externalApp(), preferences_->values().patternsFromBox);
    FormWidgets& w = widgets_;
    w.openClPlatform->setEnabled(states.openClPlatform);
    w.cpuThreads->setEnabled(states.cpuThreads);
    w.rewardAddress->setEnabled(states.rewardAddress);
    w.patternsBox->setEnabled(states.patternsBox);
    w.selectFile->setEnabled(states.selectFile);
    w.patternsFilePath->setEnabled(states.patternsFilePath);
    w.editPatternsFile->setEnabled(states.editPatternsFile);
}

std::string TarwickView::externalApp() const {
    return toLocal(widgets_.externalApp->currentText());
}

void TarwickView::OnSelchangeExternalApp() {
    UpdateControlStates();
    takeSelection(&ViewSettings::appIndex, widgets_.externalApp->currentIndex());
}

void TarwickView::OnSelchangeOpenCLPlatform() {
    takeSelection(&ViewSettings::openclIndex, widgets_.openClPlatform->currentIndex());
}

void TarwickView::OnSelchangeCpuThreads() {
    takeSelection(&ViewSettings::threadsIndex, widgets_.cpuThreads->currentIndex());
}

void TarwickView::OnPatternSourceClicked(QWidget* clicked) {
    // Radios of one group: the clicked one is checked, its partner cleared.
    widgets_.patternsFromBox->setChecked(clicked == widgets_.patternsFromBox);
    widgets_.patternsFromFile->setChecked(clicked == widgets_.patternsFromFile);
    preferences_->keep(&ViewSettings::patternsFromBox, widgets_.patternsFromBox->isChecked());
    preferences_->set(&ViewSettings::patternsFromFile, widgets_.patternsFromFile->isChecked());
    UpdateControlStates();
}

void TarwickView::OnEditCopy() {
    if (QApplication::focusWidget() == widgets_.console) {
        widgets_.console->copy();
    }
}

GeneratorOptions TarwickView::generatorOptions() const {
    const ViewSettings& chosen = preferences_->values();
    GeneratorOptions options;
    options.externalApp = externalApp();
    options.cpuThreads = atoiClamped(toLocal(widgets_.cpuThreads->currentText()));
    options.openclDevice = toLocal(widgets_.openClPlatform->currentText());
    options.caseInsensitive = chosen.caseInsensitive;
    options.patternsFromBox = chosen.patternsFromBox;
    options.patternsFilePath = chosen.patternsFilePath;
    options.rewardAddress = chosen.rewardAddress;
    options.poolUrl = chosen.poolUrl;
    return options;
}

void TarwickView::OnStartSearch() {
    pauseTimer_.stop();
    const ViewSettings& chosen = preferences_->values();
    StartInputs inputs;
    inputs.patternsFromBox = chosen.patternsFromBox;
    inputs.patternsFromFile = chosen.patternsFromFile;
    inputs.boxText = toLocal(widgets_.patternsBox->toPlainText());
    inputs.patternsFilePath = chosen.patternsFilePath;
    inputs.externalApp = externalApp();
    inputs.rewardAddress = toLocal(widgets_.rewardAddress->text());

    const StartDecision decision = prepareStart(inputs, workDir_);
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
    preferences_->saveOptions();
    SearchRun& run = runner_->run();
    if (run.newRunAllowed() || run.resuming()) {
        takeLeftoverKeys();
    }
    // The run replaces results.txt; its generator writes the new one from the start.
    if (run.startSearch(generatorOptions(), decision.patternCount,
                        {preferences_->values().caseInsensitive, decision.patterns})) {
        foundKeyScanner_->restart();
    }
}

void TarwickView::OnStopSearch() {
    pauseTimer_.stop();
    runner_->run().stop();
}

void TarwickView::OnListPlatforms() {
    if (!runner_->run().newRunAllowed()) {
        return;
    }
    takeLeftoverKeys();
    if (runner_->run().listPlatforms(generatorOptions())) {
        foundKeyScanner_->restart();
    }
}

void TarwickView::OnSelectPatternsFile() {
    const std::optional<std::string> chosen = environment_.dialogs->choosePatternsFile();
    std::error_code error;
    if (!chosen || chosen->empty() || !std::filesystem::exists(workDir_ / *chosen, error)) {
        return;
    }
    widgets_.patternsFilePath->setText(fromLocal(*chosen));
    widgets_.patternsFilePath->selectAll();
    preferences_->set(&ViewSettings::patternsFilePath, *chosen);
}

void TarwickView::OnEditPatternsFile() {
    const std::string& patternsFilePath = preferences_->values().patternsFilePath;
    std::error_code error;
    if (patternsFilePath.empty()) {
        environment_.dialogs->showMessage("Tarwick", kNoFileSelectedPrompt);
    } else if (!std::filesystem::exists(workDir_ / patternsFilePath, error)) {
        environment_.dialogs->showMessage("Tarwick", kFileNotFoundPrompt);
    } else {
        environment_.shell->openInTextEditor(patternsFilePath);
    }
}

void TarwickView::OnHelpVanitygenCpu() {
    const HelpText help = vanitygenCpuHelp();
    environment_.dialogs->showMessage(help.caption, help.text);
}

void TarwickView::OnHelpVanitygenGpu() {
    const HelpText help = vanitygenGpuHelp();
    environment_.dialogs->showMessage(help.caption, help.text);
}

void TarwickView::OnHelpVanityminerPool() {
    const HelpText help = vanityminerPoolHelp(preferences_->values().poolUrl);
    environment_.dialogs->showMessage(help.caption, help.text);
}

} // namespace tarwick
