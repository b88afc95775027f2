#pragma once

class QWidget;

namespace tarwick {

struct FormWidgets;
class ConsoleLog;

// Gives the form and its controls their colours: a form-grey form with white labels and radios,
// amber text on the console background in the boxes the user reads or writes, amber drop-down
// lists. Disabled boxes keep the look their kind has on Windows.
void applyFormColours(QWidget& form, const FormWidgets& widgets);

} // namespace tarwick
