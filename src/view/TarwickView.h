#pragma once

#include "core/found/CheckFoundKeys.h"
#include "core/found/FoundAddressStore.h"
#include "core/found/FoundKeyScanner.h"
#include "core/search/GeneratorCommand.h"
#include "core/settings/Preferences.h"
#include "platform/KeyboardSignals.h"
#include "view/FormWidgets.h"

#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>

namespace tarwick {

class Clock;
class ConsoleLog;
class DesktopShell;
class FoundListModel;
class SearchRunner;
class UserDialogs;

// What the form needs of the machine and the desktop it runs on; none of the pointers may be
// null, and each must outlive the form.
struct FormEnvironment {
    int logicalProcessors = 1;
    const Clock* clock = nullptr;
    UserDialogs* dialogs = nullptr;
    DesktopShell* shell = nullptr;
    // The working folder chosen at start: generators, patterns, logs and settings live here.
    std::filesystem::path workDir;
};

// The main form: every control of the program, the user's choices, and the handlers that keep
// the two in step. Decisions live in the core; this class shows and forwards.
// The choices Settings.ini keeps belong to its Preferences; the form shows and changes them.
class TarwickView : public QWidget, private FoundKeyEvents {
    Q_OBJECT
public:
    explicit TarwickView(const FormEnvironment& environment, QWidget* parent = nullptr);
    ~TarwickView() override;

    // Fills the controls from the preferences at start-up; nothing is saved while it runs.
    void OnInitialUpdate();
    void UpdateControlStates();

    void OnSelchangeExternalApp();
    void OnSelchangeOpenCLPlatform();
    void OnSelchangeCpuThreads();
    void OnPatternSourceClicked(QWidget* clicked);
    void OnEditCopy();

    void OnStartSearch();
    // The overheating pause's timer: counts the pause down, then resumes the search.
    void OnTimer();
    // Ends a running search and puts the Start button back; the window's close runs it.
    void OnStopSearch();
    void OnListPlatforms();
    void OnSelectPatternsFile();
    void OnEditPatternsFile();
    void OnHelpVanitygenCpu();
    void OnHelpVanitygenGpu();
    void OnHelpVanityminerPool();

    // The found addresses and what can be done with them.
    void RefreshFoundList(bool selectLast);
    void OnContextMenu(const QPoint& position);
    void ShowAddressInfo();
    void CopyPublicAddress();
    void CopyPrivateKey();
    void ExportAddress(bool toClipboard);
    void ExportAllAddresses();
    void CopyToClipboard(const std::string& text);
    void DeleteFoundAddress();
    void DeleteAllFoundAddresses();
    FoundAddressStore& foundAddresses() { return foundAddresses_; }
    const FoundAddressStore& foundAddresses() const { return foundAddresses_; }
    Preferences& preferences() const { return *preferences_; }
    // What a search started now would run, from the lists as they stand and the preferences.
    GeneratorOptions generatorOptions() const;

    ConsoleLog& console() const { return *widgets_.console; }
    const FormWidgets& widgets() const { return widgets_; }
    SearchRunner& runner() const { return *runner_; }
    // The control carrying the given numeric identity, or null.
    QWidget* control(int controlId) const;

    bool initialising = true;
    int selectedIndex = -1;

signals:
    // The store gained or lost records: "Export Bitcoin addresses found" follows its emptiness.
    void foundAddressesChanged();

private:
    void connectHandlers();
    void connectRunHooks();
    // Keys a finished generator left in results.txt are taken, and their save waited for,
    // before a new run deletes it.
    void takeLeftoverKeys();
    // A list's selection: kept while the form is filled, saved once the user chooses.
    void takeSelection(int ViewSettings::*field, int index);
    void keepBoxTexts();
    std::string externalApp() const;
    bool checkFoundKeys();
    const FoundAddress* currentAddress() const;
    void SetScrollLockLight(bool on) override;
    void beep(int frequencyHz, int durationMs) override;
    void foundAddressAdded(std::size_t index) override;
    void fillCombo(class QComboBox& combo, const std::vector<std::string>& items, int storedIndex);

    FormEnvironment environment_;
    // Generators, patterns, logs and settings are found from here.
    const std::filesystem::path& workDir_ = environment_.workDir;
    FormWidgets widgets_;
    std::unique_ptr<SearchRunner> runner_;
    FoundAddressStore foundAddresses_;
    FoundListModel* foundListModel_ = nullptr;
    KeyboardSignals keyboard_;
    std::unique_ptr<Preferences> preferences_;
    std::unique_ptr<FoundKeyScanner> foundKeyScanner_;
    QTimer pauseTimer_;
    // The public address of the record the list's menu was opened over.
    std::string selectedAddress_;
};

} // namespace tarwick
