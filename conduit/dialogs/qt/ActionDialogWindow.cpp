// The settings dialog's widgets.
#include "conduit/dialogs/qt/ActionDialogWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "conduit/dialogs/qt/ConduitPictures.h"
#include "conduit/dialogs/qt/DialogParts.h"

namespace conduit {

using D = ActionDialog;

ActionDialogWindow::ActionDialogWindow(ActionDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
  setObjectName(QStringLiteral("actionDialog"));
  settingsGroup_ = Named(new QGroupBox(this), "settingsGroup", D::kSettingsGroup);
  defaultLabel_ = Named(new QLabel(settingsGroup_), "defaultLabel", D::kDefaultLabel);
  default_ = Named(new QLabel(settingsGroup_), "default", D::kDefaultField);
  nextLabel_ = Named(new QLabel(settingsGroup_), "nextLabel", D::kNextLabel);
  next_ = Named(new QLabel(settingsGroup_), "next", D::kNextField);
  auto* settings = new QGridLayout(settingsGroup_);
  settings->addWidget(defaultLabel_, 0, 0);
  settings->addWidget(default_, 0, 1);
  settings->addWidget(nextLabel_, 1, 0);
  settings->addWidget(next_, 1, 1);
  settings->setColumnStretch(1, 1);

  actionGroup_ = Named(new QGroupBox(this), "actionGroup", D::kActionGroup);
  auto* updatePicture = Named(new QLabel(actionGroup_), "updatePicture", D::kUpdatePicture);
  updatePicture->setPixmap(ActionPicture(true, QSize(32, 32)));
  auto* nothingPicture = Named(new QLabel(actionGroup_), "nothingPicture", D::kNothingPicture);
  nothingPicture->setPixmap(ActionPicture(false, QSize(32, 32)));
  update_ =
      Named(new QRadioButton(QStringLiteral("&Update"), actionGroup_), "update", D::kUpdateRadio);
  nothing_ = Named(new QRadioButton(QStringLiteral("Do &nothing"), actionGroup_), "nothing",
                   D::kNothingRadio);
  auto* action = new QGridLayout(actionGroup_);
  action->addWidget(updatePicture, 0, 0);
  action->addWidget(update_, 0, 1);
  action->addWidget(nothingPicture, 1, 0);
  action->addWidget(nothing_, 1, 1);
  action->setColumnStretch(1, 1);

  setAsDefault_ = Named(new QCheckBox(QStringLiteral("Set as default"), this), "setAsDefault",
                        D::kSetAsDefault);
  ok_ = Named(new QPushButton(QStringLiteral("OK"), this), "ok", D::kOk);
  ok_->setDefault(true);
  cancel_ = Named(new QPushButton(QStringLiteral("Cancel"), this), "cancel", D::kCancel);
  auto* help = Named(new QPushButton(QStringLiteral("&Help"), this), "help", 9);
  help->setEnabled(false);
  help->hide();

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addWidget(help);
  buttons->addStretch();
  auto* left = new QVBoxLayout;
  left->addWidget(actionGroup_);
  left->addWidget(setAsDefault_);
  left->addWidget(settingsGroup_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  SizeToTemplate(*this, kActionDialogUnits);

  connect(update_, &QRadioButton::clicked, this, [this] {
    dialog_.OnRadio(D::kUpdateRadio);
    Render();
  });
  connect(nothing_, &QRadioButton::clicked, this, [this] {
    dialog_.OnRadio(D::kNothingRadio);
    Render();
  });
  connect(setAsDefault_, &QCheckBox::toggled, this,
          [this](bool checked) { dialog_.OnSetAsDefault(checked); });
  connect(ok_, &QPushButton::clicked, this, [this] {
    dialog_.OnOk();
    Render();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void ActionDialogWindow::Open() {
  dialog_.OnInitDialog();
  Render();
}

void ActionDialogWindow::Render() {
  setWindowTitle(Qs(dialog_.Text(D::kCaption)));
  settingsGroup_->setTitle(Qs(dialog_.Text(D::kSettingsGroup)));
  actionGroup_->setTitle(Qs(dialog_.Text(D::kActionGroup)));
  defaultLabel_->setText(Qs(dialog_.Text(D::kDefaultLabel)));
  default_->setText(Qs(dialog_.Text(D::kDefaultField)));
  nextLabel_->setText(Qs(dialog_.Text(D::kNextLabel)));
  next_->setText(Qs(dialog_.Text(D::kNextField)));
  update_->setText(Qs(dialog_.Text(D::kUpdateRadio)));
  nothing_->setText(Qs(dialog_.Text(D::kNothingRadio)));
  setAsDefault_->setText(Qs(dialog_.Text(D::kSetAsDefault)));
  cancel_->setText(Qs(dialog_.Text(D::kCancel)));
  update_->setChecked(dialog_.selectedRadio() == D::kUpdateRadio);
  nothing_->setChecked(dialog_.selectedRadio() == D::kNothingRadio);
  setAsDefault_->setChecked(dialog_.setAsDefault());
  if (dialog_.end() == DialogEnd::Ok) done(QDialog::Accepted);
  if (dialog_.end() == DialogEnd::Cancel) done(QDialog::Rejected);
}

void ActionDialogWindow::reject() {
  if (dialog_.end() == DialogEnd::Open) {
    dialog_.OnCancel();
    Render();
  }
}

}  // namespace conduit
