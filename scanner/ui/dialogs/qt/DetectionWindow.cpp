// The detection dialog's widgets and its hand-over from the scan worker to the GUI thread.
#include "scanner/ui/dialogs/qt/DetectionWindow.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "scanner/strings/ScannerStrings.h"
#include "scanner/ui/dialogs/DialogTexts.h"
#include "scanner/ui/dialogs/qt/QtText.h"

namespace scanner_dialogs {
namespace {

QLabel* MakeLabel(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}

}  // namespace

DetectionWindow::DetectionWindow(const DetectionTexts& texts, bool copy, bool del, QWidget* owner)
    : QDialog(owner) {
  setObjectName(QStringLiteral("detectionDialog"));
  setWindowTitle(Qs(kDetectionTitle));
  setModal(true);
  auto* lines = new QGridLayout;
  lines->addWidget(MakeLabel(Qs(texts.objectLabel), "objectLabel", this), 0, 0, Qt::AlignTop);
  lines->addWidget(MakeLabel(Qs(texts.objectText), "objectText", this), 0, 1);
  lines->addWidget(MakeLabel(Qs(texts.virusLabel), "virusLabel", this), 1, 0, Qt::AlignTop);
  lines->addWidget(MakeLabel(Qs(texts.virusText), "virusText", this), 1, 1);
  lines->setColumnStretch(1, 1);

  copy_ = new QCheckBox(ButtonText(kMsgCopyBox), this);
  copy_->setObjectName(QStringLiteral("copy"));
  copy_->setChecked(copy);
  delete_ = new QCheckBox(ButtonText(kMsgDeleteBox), this);
  delete_->setObjectName(QStringLiteral("delete"));
  delete_->setChecked(del);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeLabel(LabelText(scanner::kMsgDetected), "detected", this));
  layout->addLayout(lines);
  layout->addWidget(MakeLabel(Qs(texts.description), "description", this));
  layout->addWidget(copy_);
  layout->addWidget(delete_);
  layout->addStretch(1);
  layout->addWidget(buttons);
}

bool QtDetectionDialog::Show(std::u16string_view objectLabel, std::u16string_view objectText,
                             std::u16string_view virusLabel, std::u16string_view virusText,
                             std::u16string_view description, bool& copy, bool& del) {
  const DetectionTexts texts{objectLabel, objectText, virusLabel, virusText, description};
  bool accepted = false;
  bool copyOut = copy;
  bool delOut = del;
  auto run = [&] {
    if (owned_ && !owner_) return;
    DetectionWindow window(texts, copy, del, owner_);
    if (window.exec() != QDialog::Accepted) return;
    accepted = true;
    copyOut = window.copyChecked();
    delOut = window.deleteChecked();
  };
  QCoreApplication* app = QCoreApplication::instance();
  // No window can be shown: the configured actions apply.
  if (app == nullptr || (owned_ && !owner_)) return false;
  if (QThread::currentThread() == app->thread()) {
    run();
  } else {
    // Widgets live on the GUI thread; the worker waits there for the answer.
    // A call whose owner is gone is dropped and releases the worker.
    QObject* context = owned_ ? static_cast<QObject*>(owner_.data()) : app;
    QMetaObject::invokeMethod(context, run, Qt::BlockingQueuedConnection);
  }
  if (!accepted) return false;
  copy = copyOut;
  del = delOut;
  return true;
}

}  // namespace scanner_dialogs
