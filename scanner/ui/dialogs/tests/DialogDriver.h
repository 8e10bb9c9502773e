// Test support: an offscreen application and driving a modal dialog through its named controls.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "ui/testing/OffscreenApp.h"

namespace scanner_dialogs::testing {

// Never destroyed: after key events Qt's own exit-time clean-up must not
// find a destroyed application.
using ui::testing::LastingOffscreenApp;

// WhenModal: runs `drive` once, on the GUI thread, as soon as a modal dialog
// named `name` is up (it may come from another thread's request). The
// watch ends with the returned object.
inline std::unique_ptr<QTimer> WhenModal(const QString& name, std::function<void(QWidget*)> drive) {
  auto timer = std::make_unique<QTimer>();
  QTimer* watch = timer.get();
  QObject::connect(watch, &QTimer::timeout, watch, [watch, name, drive] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->objectName() != name) return;
    watch->stop();
    drive(modal);
  });
  watch->start(5);
  return timer;
}

template <typename T>
T* Child(QWidget* dialog, const QString& name) {
  T* child = dialog->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name.toStdString();
  return child;
}

inline void Click(QWidget* dialog, const QString& name) {
  if (auto* button = Child<QPushButton>(dialog, name)) button->click();
}

// PressEscape: the escape key as the user presses it on the dialog.
inline void PressEscape(QWidget* dialog) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(dialog, &press);
}

// SpinUntil: runs the event loop until `done` answers true; false after a
// minute (a bound for a broken run, not a timing assertion).
inline bool SpinUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > 60000) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

}  // namespace scanner_dialogs::testing
