// The notice on screen over a NoticeDialog: icon, text, OK and the countdown's timer.
#pragma once

#include <QDialog>
#include <QTimer>

#include "conduit/dialogs/NoticeDialog.h"

class QLabel;
class QPushButton;

namespace conduit {

// NoticeDialogWindow: a thin view. Controls: "text" (1019), "icon", "ok"
// (1). A left or right mouse button pressed on the dialog (or on its text
// or icon, which pass clicks on) stops the countdown. The dialog must
// outlive the window.
class NoticeDialogWindow final : public QDialog {
 public:
  explicit NoticeDialogWindow(NoticeDialog& dialog, QWidget* parent = nullptr);

  // Open: the dialog's OnInitDialog and the first rendering.
  void Open();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape: closes, as OK does

 private:
  void Render();

  NoticeDialog& dialog_;
  QLabel* text_ = nullptr;
  QPushButton* ok_ = nullptr;
  QTimer timer_;  // "countdown", a child so that it stops with the window
};

}  // namespace conduit
