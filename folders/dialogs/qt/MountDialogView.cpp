// The mount dialog's widgets.
#include "folders/dialogs/qt/MountDialogView.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "folders/dialogs/qt/DialogControls.h"
#include "folders/strings/FoldersStrings.h"

namespace folders {
namespace {

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

MountDialogView::MountDialogView(MountForm& form, platform::Prompt& prompt, QWidget* parent)
    : QDialog(parent), form_(form), prompt_(prompt) {
  setObjectName(QStringLiteral("mountDialog"));
  setWindowTitle(QText(kIdsMenuMount));
  mountAs_ = new QLineEdit(Qs(form_.InitialMountAs()), this);
  mountAs_->setObjectName(QStringLiteral("mountAs"));
  password_ = MakePasswordField("password", this);

  auto* layout = new QFormLayout(this);
  layout->addRow(QText(kIdsFile), MakeLabel("fileName", Qs(form_.FileName()), this));
  layout->addRow(QText(kIdsSize), MakeLabel("size", Qs(form_.SizeText()), this));
  layout->addRow(QStringLiteral("Algorithm:"),
                 MakeLabel("algorithm", Qs(form_.AlgorithmText()), this));
  layout->addRow(QStringLiteral("Mount as"), mountAs_);
  layout->addRow(QText(kIdsPassword), password_);
  layout->addRow(MakeOkCancel(this, [this] { Ok(); }));
  password_->setFocus();
}

void MountDialogView::SetPassword(const QString& password) {
  password_->setText(password);
}

void MountDialogView::Ok() {
  if (form_.Mount(U16(mountAs_->text()), U16(password_->text()), prompt_)) accept();
}

}  // namespace folders
