#include "view/FormWidgets.h"

#include "view/Artwork.h"
#include "view/ConsoleLog.h"
#include "view/ControlIds.h"
#include "view/LimitedPlainTextEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace tarwick {

namespace {

struct Place {
    int x, y, width, height;
};

class Placer {
public:
    Placer(QWidget& form, const DialogBaseUnits& base) : form_(form), base_(base) {}

    template <typename Widget>
    Widget* add(Widget* widget, int controlId, const char* objectName, Place place) {
        widget->setParent(&form_);
        widget->setObjectName(QString::fromLatin1(objectName));
        if (controlId != 0) {
            widget->setProperty(controlIdProperty, controlId);
        }
        const PixelRect r = dialogRectToPixels(place.x, place.y, place.width, place.height, base_);
        widget->setGeometry(r.x, r.y, r.width, r.height);
        return widget;
    }

    QLabel* label(const char* text, const char* objectName, Place place) {
        auto* label = add(new QLabel(QString::fromLatin1(text)), 0, objectName, place);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }

    // A combo's template height is that of its opened list: the closed box keeps its natural
    // height, the rest becomes room for list rows.
    QComboBox* combo(int controlId, const char* objectName, Place place) {
        auto* combo = add(new QComboBox, controlId, objectName, place);
        const int openedHeight = dialogUnitsToPixelsY(place.height, base_);
        const int boxHeight = combo->sizeHint().height();
        combo->resize(combo->width(), boxHeight);
        const int rowHeight = QFontMetrics(combo->font()).height() + 2;
        combo->setMaxVisibleItems(qMax(1, (openedHeight - boxHeight) / rowHeight));
        return combo;
    }

    // Pictures fill their template rectangle with their own proportions, whatever the font
    // makes of the dialog units, so they never run over their neighbours.
    QLabel* picture(int bitmapId, const char* objectName, Place place) {
        auto* picture = add(new QLabel, 0, objectName, place);
        const QSize natural = artwork(bitmapId).size();
        const QSize fitted = natural.scaled(picture->size(), Qt::KeepAspectRatio);
        picture->setPixmap(artwork(bitmapId, fitted));
        picture->resize(fitted);
        return picture;
    }

private:
    QWidget& form_;
    DialogBaseUnits base_;
};

QLineEdit* readOnlyBox(QLineEdit* box) {
    box->setReadOnly(true);
    return box;
}

} // namespace

DialogBaseUnits baseUnitsOf(const QWidget& form) {
    const QFontMetrics metrics(form.font());
    const int lettersWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return baseUnitsFromFont(lettersWidth, metrics.height());
}

FormWidgets createFormWidgets(QWidget& form, const DialogBaseUnits& base) {
    Placer at(form, base);
    FormWidgets w;

    w.foundList = at.add(new QTableView, ControlId::FoundList, "foundList", {7, 83, 353, 77});
    w.foundList->setShowGrid(true);
    w.foundList->setSortingEnabled(false);
    w.foundList->setWordWrap(false);
    w.foundList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    w.foundList->setSelectionMode(QAbstractItemView::SingleSelection);
    w.foundList->setSelectionBehavior(QAbstractItemView::SelectRows);
    w.foundList->setContextMenuPolicy(Qt::CustomContextMenu);
    w.foundList->verticalHeader()->hide();
    w.foundList->verticalHeader()->setDefaultSectionSize(w.foundList->fontMetrics().height() + 4);
    w.foundList->horizontalHeader()->setHighlightSections(false);
    w.foundList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    w.startSearch = at.add(new QPushButton(QStringLiteral(" Start search")), ControlId::StartSearch,
                           "startSearch", {7, 52, 56, 18});
    w.startSearch->setDefault(true);
    w.selectFile = at.add(new QPushButton(QStringLiteral("Select file:")), ControlId::SelectFile,
                          "selectFile", {9, 174, 40, 12});
    w.selectFile->setEnabled(false);
    w.console = at.add(new ConsoleLog, ControlId::Console, "console", {7, 192, 283, 86});
    w.progress =
        at.add(readOnlyBox(new QLineEdit), ControlId::Progress, "progress", {145, 24, 293, 12});
    at.label("Performance and probability:", "progressLabel", {145, 15, 95, 8});
    w.externalApp = at.combo(ControlId::ExternalApp, "externalApp", {73, 58, 119, 30});
    w.openClPlatform = at.combo(ControlId::OpenClPlatform, "openClPlatform", {261, 58, 38, 66});
    w.openClPlatform->setEnabled(false);
    at.label("External application:", "externalAppLabel", {73, 48, 74, 8});
    at.label("OpenCL platform:", "openClPlatformLabel", {253, 48, 56, 8});
    w.cpuThreads = at.combo(ControlId::CpuThreads, "cpuThreads", {204, 58, 40, 58});
    at.label("CPU threads:", "cpuThreadsLabel", {203, 48, 48, 8});
    w.patternsBox = at.add(new LimitedPlainTextEdit(patternsBoxLimit), ControlId::PatternsBox,
                           "patternsBox", {366, 83, 68, 100});
    w.patternsBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    w.patternsBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    w.patternsBox->setTabChangesFocus(true);
    w.patternsFromBox = at.add(new QRadioButton(QStringLiteral("Patterns to search:")),
                               ControlId::PatternsFromBox, "patternsFromBox", {365, 73, 72, 10});
    w.patternsFromFile = at.add(new QRadioButton(QStringLiteral("Patterns to search in file:")),
                                ControlId::PatternsFromFile, "patternsFromFile", {11, 165, 90, 9});
    // Both radios may be shown checked (or neither) as stored; clicks are handled by the view.
    w.patternsFromBox->setAutoExclusive(false);
    w.patternsFromFile->setAutoExclusive(false);
    w.stopSearch = at.add(new QPushButton(QStringLiteral(" Stop search")), ControlId::StopSearch,
                          "stopSearch", {7, 52, 56, 18});
    w.stopSearch->setVisible(false);
    w.stopSearch->setEnabled(false);
    w.patternsFilePath = at.add(readOnlyBox(new QLineEdit), ControlId::PatternsFilePath,
                                "patternsFilePath", {51, 174, 98, 12});
    w.patternsFilePath->setMaxLength(patternsFilePathLimit);
    w.patternsFilePath->setEnabled(false);
    w.editPatternsFile = at.add(new QPushButton, ControlId::EditPatternsFile, "editPatternsFile",
                                {151, 174, 12, 12});
    w.editPatternsFile->setAccessibleName(QStringLiteral("."));
    w.editPatternsFile->setEnabled(false);
    at.label("Elapsed time:", "elapsedTimeLabel", {337, 10, 44, 8});
    w.elapsedTime =
        at.add(readOnlyBox(new QLineEdit), ControlId::ElapsedTime, "elapsedTime", {381, 8, 57, 12});
    at.label("Reward Bitcoin address:", "rewardAddressLabel", {186, 166, 79, 8});
    w.rewardAddress =
        at.add(new QLineEdit, ControlId::RewardAddress, "rewardAddress", {186, 174, 80, 12});
    w.rewardAddress->setMaxLength(rewardAddressLimit);
    w.rewardAddress->setEnabled(false);
    w.logo = at.picture(Bitmap::Logo, "logo", {7, 6, 133, 40});
    at.label("Bitcoin addresses found:", "foundListLabel", {7, 74, 84, 8});
    w.vanitygenCredit = at.picture(Bitmap::VanitygenCredit, "vanitygenCredit", {299, 194, 133, 72});
    return w;
}

} // namespace tarwick
