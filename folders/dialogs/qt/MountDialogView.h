// The mount dialog on screen over a MountForm.
#pragma once

#include <QDialog>

#include "folders/dialogs/MountForm.h"
#include "platform/Prompt.h"

class QLineEdit;

namespace folders {

// MountDialogView: file name, size, cipher, the "mount as" name and the
// password; OK mounts and closes only when the mount succeeded. The form and
// the prompt must outlive the view.
class MountDialogView final : public QDialog {
 public:
  MountDialogView(MountForm& form, platform::Prompt& prompt, QWidget* parent = nullptr);

  // SetPassword: fills the password field (screenshots).
  void SetPassword(const QString& password);

 private:
  void Ok();

  MountForm& form_;
  platform::Prompt& prompt_;
  QLineEdit* mountAs_ = nullptr;
  QLineEdit* password_ = nullptr;
};

}  // namespace folders
