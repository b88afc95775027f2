#pragma once

#include "core/common/UserDialogs.h"

class QWidget;

namespace tarwick {

// Message boxes and the file dialog on Qt, modal to the given window.
class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void showMessage(std::string_view caption, std::string_view text) override;
    bool askYesNo(std::string_view caption, std::string_view text) override;
    std::optional<std::string> choosePatternsFile() override;

private:
    QWidget* owner_;
};

// The browser and the text editor: Notepad on Windows, the desktop's default editor elsewhere.
class QtDesktopShell : public DesktopShell {
public:
    void openUrl(std::string_view url) override;
    void openInTextEditor(std::string_view path) override;
};

} // namespace tarwick
