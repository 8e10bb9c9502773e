// The "Properties of" dialog on screen over a PropertiesForm.
#pragma once

#include <QDialog>

#include "folders/dialogs/PropertiesForm.h"
#include "folders/dialogs/qt/DialogControls.h"
#include "platform/Prompt.h"

class QLineEdit;

namespace folders {

// PropertiesDialogView: path, "mount as" name, the size and cipher line and
// the time-out controls, all disabled for a mounted folder; OK applies what
// the form accepts and stays open on a refused time-out or a failed move.
// The form and the prompt must outlive the view.
class PropertiesDialogView final : public QDialog {
 public:
  PropertiesDialogView(PropertiesForm& form, platform::Prompt& prompt, QWidget* parent = nullptr);

 private:
  void Ok();

  PropertiesForm& form_;
  platform::Prompt& prompt_;
  QLineEdit* path_ = nullptr;
  QLineEdit* mountAs_ = nullptr;
  TimeoutControls timeout_;
  bool timeoutTouched_ = false;
};

}  // namespace folders
