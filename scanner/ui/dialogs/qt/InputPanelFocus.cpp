// The input panel follows the focus of a text field.
#include "scanner/ui/dialogs/qt/InputPanelFocus.h"

#include <QEvent>

#include "platform/InputPanel.h"

namespace scanner_dialogs {

void InputPanelFocus::Watch(QObject* field) {
  field->installEventFilter(new InputPanelFocus(field));
}

bool InputPanelFocus::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) platform::ShowInputPanel(true);
  if (event->type() == QEvent::FocusOut) platform::ShowInputPanel(false);
  return QObject::eventFilter(watched, event);
}

}  // namespace scanner_dialogs
