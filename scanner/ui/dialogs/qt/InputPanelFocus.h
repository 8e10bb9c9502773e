// Raises the input panel while a text field has the focus, as the handheld does.
#pragma once

#include <QObject>

namespace scanner_dialogs {

// InputPanelFocus: an event filter for edit fields: focus in raises the
// input panel, focus out lowers it (a no-op hook on a desktop).
class InputPanelFocus : public QObject {
 public:
  using QObject::QObject;

  // Watch: installs a filter owned by `field` on it.
  static void Watch(QObject* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace scanner_dialogs
