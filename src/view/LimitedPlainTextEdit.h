#pragma once

#include <QPlainTextEdit>

namespace tarwick {

// A multi-line edit box with a text limit on what the user types or pastes, like a Win32 edit:
// input past the limit is refused, what was there stays. Text put in by the program is taken
// whole.
class LimitedPlainTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LimitedPlainTextEdit(int maxLength, QWidget* parent = nullptr);
    int maxLength() const { return maxLength_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    int room() const;

    int maxLength_;
};

} // namespace tarwick
