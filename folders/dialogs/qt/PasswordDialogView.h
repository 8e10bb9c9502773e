// The change-password dialog on screen.
#pragma once

#include <QDialog>
#include <string>

#include "folders/volumes/VolumeRecord.h"
#include "platform/Prompt.h"

class QLineEdit;

namespace folders {

// PasswordDialogView: the path read-only and three masked fields; OK runs
// the checks (clearing the fields they name) and closes when they pass. The
// re-keying itself is the caller's, after the dialog has closed. The record
// and the prompt must outlive the view.
class PasswordDialogView final : public QDialog {
 public:
  PasswordDialogView(const VolumeRecord& record, platform::Prompt& prompt,
                     QWidget* parent = nullptr);

  std::u16string OldPassword() const;
  std::u16string NewPassword() const;
  // SetPasswords: fills the three fields (screenshots).
  void SetPasswords(const QString& oldPassword, const QString& newPassword);

 private:
  void Ok();

  const VolumeRecord& record_;
  platform::Prompt& prompt_;
  QLineEdit* old_ = nullptr;
  QLineEdit* new_ = nullptr;
  QLineEdit* retype_ = nullptr;
};

}  // namespace folders
