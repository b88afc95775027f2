#include "view/FormColours.h"

#include "view/ConsoleLog.h"
#include "view/ConsolePalette.h"
#include "view/FormWidgets.h"
#include "view/LimitedPlainTextEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

namespace tarwick {

namespace {

struct BoxLook {
    QColor text;
    QColor background;
};

const BoxLook amberOnConsole{Colour::amber, Colour::consoleBackground};
const BoxLook whiteOnGrey{Colour::white, Colour::formGrey};

void setLook(QWidget& widget, QPalette::ColorGroup group, const BoxLook& look) {
    QPalette palette = widget.palette();
    palette.setColor(group, QPalette::Text, look.text);
    palette.setColor(group, QPalette::WindowText, look.text);
    palette.setColor(group, QPalette::Base, look.background);
    palette.setColor(group, QPalette::Window, look.background);
    widget.setPalette(palette);
}

void setLooks(QWidget& widget, const BoxLook& enabled, const BoxLook& disabled) {
    setLook(widget, QPalette::Active, enabled);
    setLook(widget, QPalette::Inactive, enabled);
    setLook(widget, QPalette::Disabled, disabled);
}

} // namespace

void applyFormColours(QWidget& form, const FormWidgets& w) {
    QPalette formPalette = form.palette();
    formPalette.setColor(QPalette::Window, Colour::formGrey);
    formPalette.setColor(QPalette::WindowText, Colour::white);
    form.setPalette(formPalette);
    form.setAutoFillBackground(true);

    for (QLabel* label : form.findChildren<QLabel*>()) {
        setLooks(*label, whiteOnGrey, whiteOnGrey);
    }
    for (QRadioButton* radio : {w.patternsFromBox, w.patternsFromFile}) {
        setLooks(*radio, whiteOnGrey, whiteOnGrey);
    }

    // Writable boxes: amber while they take input; the patterns box greys out like a label when
    // disabled, the reward box keeps its console look.
    setLooks(*w.patternsBox, amberOnConsole, whiteOnGrey);
    setLooks(*w.rewardAddress, amberOnConsole, amberOnConsole);
    // Read-only boxes: the two figures boxes read like the console; the file path like a label.
    setLooks(*w.progress, amberOnConsole, amberOnConsole);
    setLooks(*w.elapsedTime, amberOnConsole, amberOnConsole);
    setLooks(*w.patternsFilePath, whiteOnGrey, whiteOnGrey);

    // The found list: light grey behind the rows, black text.
    QPalette list = w.foundList->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        list.setColor(group, QPalette::Base, QColor(0xE6, 0xE6, 0xE6));
        list.setColor(group, QPalette::Text, Qt::black);
    }
    w.foundList->setPalette(list);

    for (QComboBox* combo : {w.externalApp, w.openClPlatform, w.cpuThreads}) {
        setLooks(*combo->view(), amberOnConsole, amberOnConsole);
    }
}

} // namespace tarwick
