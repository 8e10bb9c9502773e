// The sync-time dialog on screen over a SyncActionDialog.
#pragma once

#include <QDialog>
#include <QTimer>

#include "conduit/dialogs/SyncActionDialog.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace conduit {

// SyncActionDialogWindow: a thin view. Controls: "picture", "baseGroup"
// (1024) with "countLabel" (1026), "count" (1004), "dateLabel" (1027),
// "date" (1005); "actionGroup" (1025) with "now" (7000) and "schedule"
// (7001); "ok" (1) and "cancel" (2). Closing the window is OK; Escape is
// Cancel. The dialog must outlive the window.
class SyncActionDialogWindow final : public QDialog {
 public:
  explicit SyncActionDialogWindow(SyncActionDialog& dialog, QWidget* parent = nullptr);

  // Open: the dialog's OnInitDialog (which reads the handheld base), the
  // first rendering, and the centred place.
  void Open();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void Render();

  SyncActionDialog& dialog_;
  QGroupBox* baseGroup_ = nullptr;
  QGroupBox* actionGroup_ = nullptr;
  QLabel* countLabel_ = nullptr;
  QLabel* count_ = nullptr;
  QLabel* dateLabel_ = nullptr;
  QLabel* date_ = nullptr;
  QRadioButton* now_ = nullptr;
  QRadioButton* schedule_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QTimer timer_;  // "countdown", a child so that it stops with the window
};

}  // namespace conduit
