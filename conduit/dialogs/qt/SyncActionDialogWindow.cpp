// The sync-time dialog's widgets, radio buttons and timer.
#include "conduit/dialogs/qt/SyncActionDialogWindow.h"

#include <QCloseEvent>
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

using D = SyncActionDialog;

SyncActionDialogWindow::SyncActionDialogWindow(SyncActionDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog), timer_(this) {
  setObjectName(QStringLiteral("syncActionDialog"));
  auto* picture = Named(new QLabel(this), "picture", 112);
  picture->setPixmap(SyncPicture(QSize(96, 220)));

  baseGroup_ = Named(new QGroupBox(this), "baseGroup", D::kBaseGroup);
  countLabel_ = Named(new QLabel(baseGroup_), "countLabel", D::kCountLabel);
  count_ = Named(new QLabel(baseGroup_), "count", D::kCountField);
  dateLabel_ = Named(new QLabel(baseGroup_), "dateLabel", D::kDateLabel);
  date_ = Named(new QLabel(baseGroup_), "date", D::kDateField);
  auto* base = new QGridLayout(baseGroup_);
  base->addWidget(countLabel_, 0, 0);
  base->addWidget(count_, 0, 1);
  base->addWidget(dateLabel_, 1, 0);
  base->addWidget(date_, 1, 1);
  base->setColumnStretch(1, 1);

  actionGroup_ = Named(new QGroupBox(this), "actionGroup", D::kActionGroup);
  now_ = Named(new QRadioButton(QStringLiteral("Now"), actionGroup_), "now", D::kNowRadio);
  schedule_ = Named(new QRadioButton(QStringLiteral("On the schedule"), actionGroup_), "schedule",
                    D::kScheduleRadio);
  auto* action = new QVBoxLayout(actionGroup_);
  action->addWidget(now_);
  action->addWidget(schedule_);

  ok_ = Named(new QPushButton(QStringLiteral("OK"), this), "ok", D::kOk);
  ok_->setDefault(true);
  cancel_ = Named(new QPushButton(QStringLiteral("Cancel"), this), "cancel", D::kCancel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* right = new QVBoxLayout;
  right->addWidget(baseGroup_);
  right->addWidget(actionGroup_);
  right->addStretch();
  right->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(picture, 0, Qt::AlignTop);
  layout->addLayout(right, 1);
  SizeToTemplate(*this, kSyncActionDialogUnits);

  timer_.setObjectName(QStringLiteral("countdown"));
  timer_.setInterval(static_cast<int>(kCountdownPeriodMs));
  connect(&timer_, &QTimer::timeout, this, [this] {
    dialog_.OnTimer();
    Render();
  });
  connect(now_, &QRadioButton::clicked, this, [this] {
    dialog_.OnRadio(D::kNowRadio);
    Render();
  });
  connect(schedule_, &QRadioButton::clicked, this, [this] {
    dialog_.OnRadio(D::kScheduleRadio);
    Render();
  });
  connect(ok_, &QPushButton::clicked, this, [this] {
    dialog_.OnOk();
    Render();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void SyncActionDialogWindow::Open() {
  dialog_.OnInitDialog();
  Render();
  CentreOnScreen(*this);
}

void SyncActionDialogWindow::Render() {
  setWindowTitle(Qs(dialog_.Text(D::kCaption)));
  baseGroup_->setTitle(Qs(dialog_.Text(D::kBaseGroup)));
  actionGroup_->setTitle(Qs(dialog_.Text(D::kActionGroup)));
  countLabel_->setText(Qs(dialog_.Text(D::kCountLabel)));
  count_->setText(Qs(dialog_.Text(D::kCountField)));
  dateLabel_->setText(Qs(dialog_.Text(D::kDateLabel)));
  date_->setText(Qs(dialog_.Text(D::kDateField)));
  now_->setText(Qs(dialog_.Text(D::kNowRadio)));
  schedule_->setText(Qs(dialog_.Text(D::kScheduleRadio)));
  ok_->setText(Qs(dialog_.Text(D::kOk)));
  cancel_->setText(Qs(dialog_.Text(D::kCancel)));
  const uint32_t selected = dialog_.selectedRadio();
  now_->setChecked(selected == D::kNowRadio);
  schedule_->setChecked(selected == D::kScheduleRadio);
  if (dialog_.timerRunning() && !timer_.isActive()) timer_.start();
  if (!dialog_.timerRunning()) timer_.stop();
  if (dialog_.end() == DialogEnd::Ok) done(QDialog::Accepted);
  if (dialog_.end() == DialogEnd::Cancel) done(QDialog::Rejected);
}

void SyncActionDialogWindow::closeEvent(QCloseEvent* event) {
  if (dialog_.end() == DialogEnd::Open) {
    dialog_.OnOk();
    Render();
  }
  event->accept();
}

void SyncActionDialogWindow::reject() {
  if (dialog_.end() == DialogEnd::Open) {
    dialog_.OnCancel();
    Render();
  }
}

}  // namespace conduit
