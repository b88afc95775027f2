// The real message boxes and file dialog, answered as a user would: what the program acts on
// (deleting the found addresses, the patterns file to use) is the answer the user gave.
#include "platform/QtUserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Gives `answer` the next modal dialog, once it is open.
void answerNextDialog(const std::function<void(QWidget*)>& answer) {
    QTimer::singleShot(10, [answer] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            answer(dialog);
        } else {
            answerNextDialog(answer);
        }
    });
}

void press(QMessageBox::StandardButton button, QString* text = nullptr) {
    answerNextDialog([button, text](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (text) {
            *text = box->text();
        }
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
}

} // namespace

class UserDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void messageBoxesAnswerWhatWasPressed() {
        tarwick::QtUserDialogs dialogs;
        press(QMessageBox::Yes);
        QVERIFY(dialogs.askYesNo("Tarwick", "Delete all?"));
        press(QMessageBox::No);
        QVERIFY(!dialogs.askYesNo("Tarwick", "Delete all?"));
        QString shown;
        press(QMessageBox::Ok, &shown);
        dialogs.showMessage("Tarwick", "Fichier de motifs \xc3\xa9");
        QCOMPARE(shown, QString::fromUtf8("Fichier de motifs \xc3\xa9"));
    }

    void patternsFileIsTheOneChosenOrNone() {
        tarwick::QtUserDialogs dialogs;
        const QTemporaryDir folder;
        const QString path = folder.filePath(QString::fromUtf8("motifs \xc3\xa9.txt"));
        QFile(path).open(QIODevice::WriteOnly);
        answerNextDialog([path](QWidget* dialog) {
            qobject_cast<QFileDialog*>(dialog)->selectFile(path);
            qobject_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(dialogs.choosePatternsFile(), std::optional(path.toLocal8Bit().toStdString()));
        answerNextDialog([](QWidget* dialog) { qobject_cast<QFileDialog*>(dialog)->reject(); });
        QCOMPARE(dialogs.choosePatternsFile(), std::nullopt);
    }
};

QTEST_MAIN(UserDialogsTest)
#include "UserDialogsTest.moc"
