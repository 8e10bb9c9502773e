// The notice's widgets and its timer.
#include "conduit/dialogs/qt/NoticeDialogWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "conduit/dialogs/qt/ConduitPictures.h"
#include "conduit/dialogs/qt/DialogParts.h"

namespace conduit {

NoticeDialogWindow::NoticeDialogWindow(NoticeDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog), timer_(this) {
  setObjectName(QStringLiteral("noticeDialog"));
  auto* icon = Named(new QLabel(this), "icon", 103);
  icon->setPixmap(NoticeIcon(QSize(32, 32)));
  text_ = Named(new QLabel(this), "text", NoticeDialog::kTextControl);
  text_->setWordWrap(true);
  ok_ = Named(new QPushButton(QStringLiteral("OK"), this), "ok", 1);
  ok_->setDefault(true);

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(text_, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(ok_);
  bottom->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(bottom);
  SizeToTemplate(*this, kNoticeDialogUnits);

  timer_.setObjectName(QStringLiteral("countdown"));
  timer_.setInterval(static_cast<int>(kCountdownPeriodMs));
  connect(&timer_, &QTimer::timeout, this, [this] {
    dialog_.OnTimer();
    Render();
  });
  connect(ok_, &QPushButton::clicked, this, [this] {
    dialog_.OnOk();
    Render();
  });
}

void NoticeDialogWindow::Open() {
  dialog_.OnInitDialog();
  Render();
  CentreOnScreen(*this);
}

void NoticeDialogWindow::Render() {
  setWindowTitle(Qs(dialog_.caption()));
  text_->setText(Qs(dialog_.text()));
  ok_->setText(Qs(dialog_.okText()));
  if (dialog_.timerRunning() && !timer_.isActive()) timer_.start();
  if (!dialog_.timerRunning()) timer_.stop();
  if (dialog_.end() != DialogEnd::Open) done(QDialog::Accepted);
}

void NoticeDialogWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
    dialog_.OnMouseButton();
    Render();
  }
  QDialog::mousePressEvent(event);
}

void NoticeDialogWindow::closeEvent(QCloseEvent* event) {
  if (dialog_.end() == DialogEnd::Open) {
    dialog_.OnOk();
    Render();
  }
  event->accept();
}

void NoticeDialogWindow::reject() {
  if (dialog_.end() == DialogEnd::Open) {
    dialog_.OnOk();
    Render();
  }
}

}  // namespace conduit
