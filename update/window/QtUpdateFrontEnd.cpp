// Running the dialog and the control-centre task under Qt's event loop.
#include "update/window/QtUpdateFrontEnd.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>
#include <thread>

#include "update/window/UpdateDialogWindow.h"

namespace update {

namespace {

constexpr int kPollMs = 20;

// ServeUntil: keeps the event loop going until `done` holds.
void ServeUntil(const std::function<bool()>& done) {
  QEventLoop loop;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  timer.start(kPollMs);
  if (!done()) loop.exec();
}

}  // namespace

RunOutcome QtUpdateFrontEnd::RunDialog(UpdateDialog& dialog) {
  UpdateDialogWindow window(dialog);
  if (dialog.Open(window) != 0) return RunOutcome::NoAddress;
  window.exec();
  // A thread may still want a message box answered, or post to the window,
  // before it ends.
  ServeUntil([&] { return dialog.ThreadsEnded(); });
  return dialog.Finish();
}

void QtUpdateFrontEnd::RunTask(const std::function<void()>& task) {
  std::atomic<bool> done{false};
  std::thread worker([&] {
    task();
    done = true;
  });
  ServeUntil([&] { return done.load(); });
  worker.join();
}

}  // namespace update
