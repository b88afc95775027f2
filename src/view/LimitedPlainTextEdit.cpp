#include "view/LimitedPlainTextEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace tarwick {

LimitedPlainTextEdit::LimitedPlainTextEdit(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), maxLength_(maxLength) {}

int LimitedPlainTextEdit::room() const {
    const QTextCursor cursor = textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    return maxLength_ - static_cast<int>(toPlainText().size()) + selected;
}

void LimitedPlainTextEdit::keyPressEvent(QKeyEvent* event) {
    const bool insertsText = !event->text().isEmpty() && event->text().at(0).isPrint();
    const bool insertsBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if ((insertsText || insertsBreak) && room() < 1) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LimitedPlainTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) {
        return;
    }
    insertPlainText(source->text().left(qMax(0, room())));
}

} // namespace tarwick
