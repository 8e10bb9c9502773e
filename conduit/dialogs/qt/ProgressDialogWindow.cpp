// The progress dialog's widgets and the bar's numbers.
#include "conduit/dialogs/qt/ProgressDialogWindow.h"

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "conduit/dialogs/ConduitStrings.h"
#include "conduit/dialogs/qt/DialogParts.h"

namespace conduit {

ProgressDialogWindow::ProgressDialogWindow(UpdateProgressDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
  setObjectName(QStringLiteral("progressDialog"));
  setWindowTitle(QString::fromLatin1(kProgressCaption));
  text_ = Named(new QLabel(QString::fromLatin1(kProgressTemplateText), this), "textLine",
                UpdateProgressDialog::kTextLine);
  bar_ = Named(new QProgressBar(this), "progress", UpdateProgressDialog::kProgressBar);
  bar_->setTextVisible(false);
  cancel_ = Named(new QPushButton(QString::fromLatin1(kProgressCancelText), this), "cancel",
                  UpdateProgressDialog::kCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(bar_);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  SizeToTemplate(*this, kProgressDialogUnits);
  MoveTo(0);
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

template <typename Work>
void ProgressDialogWindow::OnThread(Work work) {
  if (QThread::currentThread() == thread())
    work();
  else
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void ProgressDialogWindow::Close() {
  OnThread([this] {
    closed_ = true;
    done(QDialog::Accepted);
  });
}

void ProgressDialogWindow::MoveTo(long long position) {
  position_ = static_cast<int>(std::clamp<long long>(position, low_, high_));
  bar_->setRange(low_, high_);
  bar_->setValue(position_);
  // The install pass keeps the thread busy: paint now rather than later.
  if (isVisible()) bar_->repaint();
}

void ProgressDialogWindow::SetRange(int low, int high) {
  OnThread([this, low, high] {
    low_ = std::min(low, high);
    high_ = std::max(low, high);
    MoveTo(position_);
  });
}

void ProgressDialogWindow::SetStep(int step) {
  OnThread([this, step] { step_ = step; });
}

void ProgressDialogWindow::StepIt() {
  OnThread([this] {
    long long next = static_cast<long long>(position_) + step_;
    if (next > high_) next = low_ + (next - high_);  // wraps, as the control does
    MoveTo(next);
  });
}

void ProgressDialogWindow::SetPos(int position) {
  OnThread([this, position] { MoveTo(position); });
}

void ProgressDialogWindow::OffsetPos(int delta) {
  OnThread([this, delta] { MoveTo(static_cast<long long>(position_) + delta); });
}

void ProgressDialogWindow::SetText(std::string_view text) {
  const QString q = Qs(text);
  OnThread([this, q] {
    text_->setText(q);
    if (isVisible()) text_->repaint();
  });
}

void ProgressDialogWindow::reject() {
  dialog_.OnCancel();  // closes the window through Close when a fetch was running
}

}  // namespace conduit
