// The change-password dialog's widgets.
#include "folders/dialogs/qt/PasswordDialogView.h"

#include <QFormLayout>
#include <QLineEdit>

#include "folders/dialogs/PasswordForm.h"
#include "folders/dialogs/qt/DialogControls.h"
#include "folders/strings/FoldersStrings.h"
#include "platform/Text.h"

namespace folders {

PasswordDialogView::PasswordDialogView(const VolumeRecord& record, platform::Prompt& prompt,
                                       QWidget* parent)
    : QDialog(parent), record_(record), prompt_(prompt) {
  setObjectName(QStringLiteral("passwordDialog"));
  setWindowTitle(QText(kIdsMenuChangePassword));
  auto* path = new QLineEdit(Qs(platform::FieldText(record_.path)), this);
  path->setObjectName(QStringLiteral("path"));
  path->setReadOnly(true);
  old_ = MakePasswordField("oldPassword", this);
  new_ = MakePasswordField("newPassword", this);
  retype_ = MakePasswordField("retype", this);

  auto* layout = new QFormLayout(this);
  layout->addRow(QText(kIdsFile), path);
  layout->addRow(QText(kIdsOldPassword), old_);
  layout->addRow(QText(kIdsNewPassword), new_);
  layout->addRow(QText(kIdsRetype), retype_);
  layout->addRow(MakeOkCancel(this, [this] { Ok(); }));
  old_->setFocus();
}

std::u16string PasswordDialogView::OldPassword() const {
  return U16(old_->text());
}
std::u16string PasswordDialogView::NewPassword() const {
  return U16(new_->text());
}

void PasswordDialogView::SetPasswords(const QString& oldPassword, const QString& newPassword) {
  old_->setText(oldPassword);
  new_->setText(newPassword);
  retype_->setText(newPassword);
}

void PasswordDialogView::Ok() {
  switch (
      CheckPasswordChange(record_, OldPassword(), NewPassword(), U16(retype_->text()), prompt_)) {
    case PasswordCheck::Ok:
      accept();
      break;
    case PasswordCheck::OldInvalid:
      old_->clear();
      old_->setFocus();
      break;
    case PasswordCheck::Differ:
      new_->clear();
      retype_->clear();
      new_->setFocus();
      break;
    case PasswordCheck::NewRequired:
      new_->setFocus();
      break;
  }
}

}  // namespace folders
