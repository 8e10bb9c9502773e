// The pages' controls with their numbers and texts.
#include "scanner/ui/qt/Controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "scanner/ui/dialogs/qt/InputPanelFocus.h"
#include "scanner/ui/dialogs/qt/QtText.h"

namespace scanner_ui {

QCheckBox* MakeCheckBox(QWidget* parent, int control, uint32_t message) {
  auto* box = new QCheckBox(scanner_dialogs::ButtonText(message), parent);
  box->setObjectName(ControlName(control));
  return box;
}

QRadioButton* MakeRadio(QWidget* parent, int control, uint32_t message) {
  auto* radio = new QRadioButton(scanner_dialogs::ButtonText(message), parent);
  radio->setObjectName(ControlName(control));
  return radio;
}

QLabel* MakeLabel(QWidget* parent, int control, uint32_t message) {
  auto* label = new QLabel(scanner_dialogs::LabelText(message), parent);
  label->setTextFormat(Qt::PlainText);
  if (control != 0) label->setObjectName(ControlName(control));
  return label;
}

QLineEdit* MakeEdit(QWidget* parent, int control, int maxChars) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(ControlName(control));
  edit->setMaxLength(maxChars);
  scanner_dialogs::InputPanelFocus::Watch(edit);
  return edit;
}

}  // namespace scanner_ui
