// Window handles and the Qt widgets behind them.
#pragma once

#include <QWidget>

#include "platform/com/Handles.h"

namespace qrx {

// HandleFromWidget / WidgetFromHandle: a window handle is the address of the
// window's widget. Only code that owns the widget side converts; a handle
// from elsewhere must be checked against known windows before use.
inline platform::com::HWND HandleFromWidget(QWidget* widget) {
  return reinterpret_cast<platform::com::HWND>(widget);
}
inline QWidget* WidgetFromHandle(platform::com::HWND handle) {
  return reinterpret_cast<QWidget*>(handle);
}

}  // namespace qrx
