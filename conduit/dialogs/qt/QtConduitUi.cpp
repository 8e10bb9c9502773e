// Running the conduit's dialogs modally under Qt, creating the application when the host has none.
#include "conduit/dialogs/qt/QtConduitUi.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "conduit/dialogs/qt/ActionDialogWindow.h"
#include "conduit/dialogs/qt/DialogParts.h"
#include "conduit/dialogs/qt/NoticeDialogWindow.h"
#include "conduit/dialogs/qt/ProgressDialogWindow.h"
#include "conduit/dialogs/qt/SyncActionDialogWindow.h"
#include "ui/QtPrompt.h"

namespace conduit {

namespace {

constexpr int kPollMs = 20;

bool HasVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// ServeUntil: keeps the event loop going until `done` holds.
void ServeUntil(const std::function<bool()>& done) {
  if (done()) return;
  QEventLoop loop;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  timer.start(kPollMs);
  loop.exec();
}

}  // namespace

// ApplicationPrompt: Qt message boxes, with the application made first when
// the call comes on the conduit's thread. Calls from the fetch thread come
// while the progress dialog runs, so the application exists then.
class QtConduitUi::ApplicationPrompt final : public platform::Prompt {
 public:
  explicit ApplicationPrompt(QtConduitUi& ui) : ui_(ui) {}
  using platform::Prompt::Show;
  int Show(std::string_view text, std::string_view caption, uint32_t flags) override {
    if (QCoreApplication::instance() == nullptr) ui_.EnsureApplication();
    return prompt_.Show(text, caption, flags);
  }

 private:
  QtConduitUi& ui_;
  ui::QtPrompt prompt_;
};

QtConduitUi::QtConduitUi() : prompt_(std::make_unique<ApplicationPrompt>(*this)) {}

QtConduitUi::~QtConduitUi() = default;

bool QtConduitUi::Usable() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr)
    return HasVariable("DISPLAY") || HasVariable("WAYLAND_DISPLAY") ||
           HasVariable("QT_QPA_PLATFORM");
  return qobject_cast<QApplication*>(app) != nullptr && app->thread() == QThread::currentThread();
}

void QtConduitUi::EnsureApplication() {
  if (QCoreApplication::instance() == nullptr) app_ = std::make_unique<QApplication>(argc_, argv_);
}

platform::Prompt& QtConduitUi::prompt() {
  return *prompt_;
}

void QtConduitUi::Run(ActionDialog& dialog) {
  EnsureApplication();
  // The settings dialog belongs to the foreground window, when the host has one.
  ActionDialogWindow window(dialog, QApplication::activeWindow());
  window.Open();
  if (dialog.end() == DialogEnd::Open) window.exec();
}

void QtConduitUi::Run(SyncActionDialog& dialog) {
  EnsureApplication();
  SyncActionDialogWindow window(dialog);
  window.Open();
  if (dialog.end() == DialogEnd::Open) window.exec();
}

void QtConduitUi::Run(NoticeDialog& dialog) {
  EnsureApplication();
  NoticeDialogWindow window(dialog);
  window.Open();
  if (dialog.end() == DialogEnd::Open) window.exec();
}

void QtConduitUi::Run(UpdateProgressDialog& dialog) {
  EnsureApplication();
  ProgressDialogWindow window(dialog);
  if (dialog.Open(window) != 0) return;
  CentreOnScreen(window);
  // Shown before exec (the install pass runs in it first), so it is made
  // modal here: exec does not change a window that is already shown.
  window.setWindowModality(Qt::ApplicationModal);
  window.show();
  // Let the window appear before an install pass keeps the thread busy.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  dialog.OnInitDialog();
  if (!window.closed()) window.exec();
  // A fetch may still want a message box answered before it ends.
  ServeUntil([&] { return dialog.ThreadsEnded(); });
  dialog.Finish();
}

}  // namespace conduit
