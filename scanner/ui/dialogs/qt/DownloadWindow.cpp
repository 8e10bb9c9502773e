// The Download window's widgets, its timer, and the worker's calls handed to the GUI thread.
#include "scanner/ui/dialogs/qt/DownloadWindow.h"

#include <QCoreApplication>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "scanner/ui/dialogs/qt/QtText.h"
#include "scanner/updater/UpdaterMessages.h"

namespace scanner_dialogs {

DownloadWindow::DownloadWindow(scanner::UpdaterState& updater, QWidget* owner)
    : QDialog(owner),
      status_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(this)),
      model_(updater, *this) {
  setObjectName(QStringLiteral("downloadDialog"));
  status_->setObjectName(QString::number(scanner::kControlStatus));
  status_->setTextFormat(Qt::PlainText);
  status_->setWordWrap(true);
  bar_->setObjectName(QString::number(scanner::kControlProgress));
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  cancel_->setObjectName(QString::number(scanner::kControlCancel));
  connect(cancel_, &QPushButton::clicked, this, [this] { model_.OnCancelButton(); });
  connect(&timer_, &QTimer::timeout, this, [this] { model_.OnTimer(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(bar_);
  layout->addStretch(1);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
}

DownloadWindow::~DownloadWindow() {
  timer_.stop();
}

void DownloadWindow::reject() {
  // Escape or the window's close box: abort; the next tick closes the window.
  if (!closing_) model_.OnEscape();
}

void DownloadWindow::SetTitle(std::u16string_view title) {
  setWindowTitle(Qs(title));
}

void DownloadWindow::SetButtonText(std::u16string_view text) {
  cancel_->setText(Qs(text));
}

void DownloadWindow::StartTimer(uint32_t ms) {
  timer_.start(static_cast<int>(std::min<uint32_t>(ms, 1u << 30)));
}

void DownloadWindow::Close() {
  closing_ = true;
  timer_.stop();
  done(QDialog::Accepted);
}

void DownloadWindow::OnStatusText(std::u16string_view text) {
  const QString shown = Qs(text);
  OnGuiThread([this, shown] { status_->setText(shown); });
}

void DownloadWindow::OnProgressRange(int low, int high) {
  OnGuiThread([this, low, high] { bar_->setRange(low, std::max(low, high)); });
}

void DownloadWindow::OnProgressAdvance(int delta) {
  // The bar keeps a step inside its range, as the handheld's control does.
  OnGuiThread([this, delta] {
    const long long next = static_cast<long long>(bar_->value()) + delta;
    bar_->setValue(static_cast<int>(std::clamp<long long>(next, bar_->minimum(), bar_->maximum())));
  });
}

void DownloadWindow::OnProgressPos(int pos) {
  OnGuiThread([this, pos] { bar_->setValue(std::clamp(pos, bar_->minimum(), bar_->maximum())); });
}

void DownloadWindow::OnWaitForWorker() {
  // This thread waits for the worker, which may be waiting for us: serve its
  // calls, to this window and to the prompt ("Signature INVALID" is asked on
  // this thread too), or neither side would ever go on.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  QThread::msleep(1);
}

void DownloadWindow::OnGuiThread(const std::function<void()>& call) {
  if (QThread::currentThread() == thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

}  // namespace scanner_dialogs
