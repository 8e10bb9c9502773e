// The "About ZEPScanner" box.
#pragma once

#include <QDialog>

namespace scanner_dialogs {

// AboutWindow: the lines of AboutText ("title", "version", "notice", "web")
// and OK.
class AboutWindow : public QDialog {
 public:
  explicit AboutWindow(QWidget* owner);
};

}  // namespace scanner_dialogs
