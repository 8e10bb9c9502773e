// The progress dialog's widgets.
#include "update/window/UpdateDialogWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <string>
#include <utility>

#include "update/window/UpdateIcon.h"

namespace update {

namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// OnThread: runs `work` at once on the window's own thread, else queues it
// there without waiting.
template <typename Work>
void OnThread(QObject* window, Work work) {
  if (QThread::currentThread() == window->thread())
    work();
  else
    QMetaObject::invokeMethod(window, std::move(work), Qt::QueuedConnection);
}

QPushButton* Button(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

}  // namespace

UpdateDialogWindow::UpdateDialogWindow(UpdateDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
  setObjectName(QStringLiteral("updateDialog"));
  setWindowIcon(UpdateIcon());
  status_ = new QLabel(QStringLiteral("Updating..."), this);
  status_->setObjectName(QStringLiteral("status"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progress"));
  cancel_ = Button("cancel", QStringLiteral("Cancel"), this);
  auto* pause = Button("pause", QStringLiteral("PAUSE"), this);
  auto* resume = Button("resume", QStringLiteral("RESUME"), this);
  pause->hide();
  resume->hide();
  ShowProgress();

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pause);
  buttons->addWidget(resume);
  buttons->addStretch();
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->addLayout(buttons);
  setMinimumWidth(280);  // 186 dialog units of the old template

  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
  connect(pause, &QPushButton::clicked, this, [this] { dialog_.Pause(); });
  connect(resume, &QPushButton::clicked, this, [this] { dialog_.Resume(); });
}

void UpdateDialogWindow::SetCaption(std::string_view text) {
  const QString q = Q(text);
  OnThread(this, [this, q] { setWindowTitle(q); });
}

void UpdateDialogWindow::SetCancelText(std::string_view text) {
  const QString q = Q(text);
  OnThread(this, [this, q] { cancel_->setText(q); });
}

void UpdateDialogWindow::Close(DialogResult result) {
  const int code = result == DialogResult::Ok ? QDialog::Accepted : QDialog::Rejected;
  OnThread(this, [this, code] { done(code); });
}

void UpdateDialogWindow::SetText(std::string_view text) {
  const QString q = Q(text);
  OnThread(this, [this, q] { status_->setText(q); });
}

void UpdateDialogWindow::Progress(void (ProgressModel::*change)(int), int value) {
  OnThread(this, [this, change, value] {
    (model_.*change)(value);
    ShowProgress();
  });
}

void UpdateDialogWindow::SetRange(int low, int high) {
  OnThread(this, [this, low, high] {
    model_.SetRange(low, high);
    ShowProgress();
  });
}

void UpdateDialogWindow::SetStep(int step) {
  Progress(&ProgressModel::SetStep, step);
}

void UpdateDialogWindow::StepIt() {
  OnThread(this, [this] {
    model_.StepIt();
    ShowProgress();
  });
}

void UpdateDialogWindow::SetPos(int position) {
  Progress(&ProgressModel::SetPos, position);
}

void UpdateDialogWindow::OffsetPos(int delta) {
  Progress(&ProgressModel::OffsetPos, delta);
}

void UpdateDialogWindow::ShowProgress() {
  progress_->setRange(model_.low(), model_.high());
  progress_->setValue(model_.position());
}

void UpdateDialogWindow::reject() {
  dialog_.Cancel();  // closes the window through Close when it takes effect
}

}  // namespace update
