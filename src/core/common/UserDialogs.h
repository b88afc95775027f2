#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarwick {

// The modal questions and notices the program puts to the user. Tests answer them through a
// fake instead of blocking on a real box.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // A box with the caption, the text, an OK button and the question-mark icon.
    virtual void showMessage(std::string_view caption, std::string_view text) = 0;
    // The same box with Yes and No; true for Yes.
    virtual bool askYesNo(std::string_view caption, std::string_view text) = 0;
    // The open-file dialog for a patterns file; nothing when the user cancels.
    virtual std::optional<std::string> choosePatternsFile() = 0;
};

// Hands things to the desktop: web pages to the browser, text files to an editor.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    virtual void openUrl(std::string_view url) = 0;
    virtual void openInTextEditor(std::string_view path) = 0;
};

} // namespace tarwick
