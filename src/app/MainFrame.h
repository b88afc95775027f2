#pragma once

#include <QMainWindow>

class QAction;
class QLabel;

namespace tarwick {

class TarwickView;

// The main window: title, icon, menu bar and status bar around the form. Not resizable, no
// maximise button. Every close request goes through closeEvent.
class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit MainFrame(TarwickView* view, QWidget* parent = nullptr);

    TarwickView& view() const { return *view_; }
    // The menu command with the given numeric identity, or null.
    QAction* command(int commandId) const;
    void OnAppAbout();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createStatusBar();
    void fitToForm();

    TarwickView* view_;
    QLabel* idleText_ = nullptr;
};

} // namespace tarwick
