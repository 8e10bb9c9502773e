// Making the pages' controls: numbered texts, control numbers as object names.
#pragma once

#include <QString>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace scanner_ui {

// ControlName: the object name of a control number ("1015").
inline QString ControlName(int control) {
  return QString::number(control);
}

// MakeCheckBox / MakeRadio / MakeLabel / MakeEdit: a control of `parent`
// named by its number, with the text of message `message`. An edit is
// limited to `maxChars` characters and raises the input panel while it has
// the focus.
QCheckBox* MakeCheckBox(QWidget* parent, int control, uint32_t message);
QRadioButton* MakeRadio(QWidget* parent, int control, uint32_t message);
QLabel* MakeLabel(QWidget* parent, int control, uint32_t message);
QLineEdit* MakeEdit(QWidget* parent, int control, int maxChars);

}  // namespace scanner_ui
