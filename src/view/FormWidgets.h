#pragma once

#include "core/layout/DialogUnits.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QWidget;

namespace tarwick {

class ConsoleLog;
class LimitedPlainTextEdit;

// The controls of the main form, created in template order (which is also the tab order) and
// placed from their dialog-unit rectangles.
struct FormWidgets {
    QTableView* foundList = nullptr;
    QPushButton* startSearch = nullptr;
    QPushButton* selectFile = nullptr;
    ConsoleLog* console = nullptr;
    QLineEdit* progress = nullptr;
    QComboBox* externalApp = nullptr;
    QComboBox* openClPlatform = nullptr;
    QComboBox* cpuThreads = nullptr;
    LimitedPlainTextEdit* patternsBox = nullptr;
    QRadioButton* patternsFromBox = nullptr;
    QRadioButton* patternsFromFile = nullptr;
    QPushButton* stopSearch = nullptr;
    QLineEdit* patternsFilePath = nullptr;
    QPushButton* editPatternsFile = nullptr;
    QLineEdit* elapsedTime = nullptr;
    QLineEdit* rewardAddress = nullptr;
    QLabel* logo = nullptr;
    QLabel* vanitygenCredit = nullptr;
};

inline constexpr int formWidthUnits = 445;
inline constexpr int formHeightUnits = 285;
inline constexpr int patternsBoxLimit = 1024;
inline constexpr int rewardAddressLimit = 40;
inline constexpr int patternsFilePathLimit = 260;

DialogBaseUnits baseUnitsOf(const QWidget& form);
FormWidgets createFormWidgets(QWidget& form, const DialogBaseUnits& base);

} // namespace tarwick
