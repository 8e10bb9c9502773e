// The settings dialog on screen over an ActionDialog.
#pragma once

#include <QDialog>

#include "conduit/dialogs/ActionDialog.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace conduit {

// ActionDialogWindow: a thin view. Controls: "settingsGroup" (1006) with
// "defaultLabel" (1029), "default" (1004), "nextLabel" (1030), "next"
// (1005); "actionGroup" (1031) with "updatePicture" (1001), "update" (1007),
// "nothingPicture" (1003), "nothing" (1008); "setAsDefault" (1032); "ok"
// (1), "cancel" (2) and a hidden, disabled "help" (9). Closing the window
// and Escape are Cancel. The dialog must outlive the window.
class ActionDialogWindow final : public QDialog {
 public:
  explicit ActionDialogWindow(ActionDialog& dialog, QWidget* parent = nullptr);

  // Open: the dialog's OnInitDialog and the first rendering.
  void Open();

 protected:
  void reject() override;

 private:
  void Render();

  ActionDialog& dialog_;
  QGroupBox* settingsGroup_ = nullptr;
  QGroupBox* actionGroup_ = nullptr;
  QLabel* defaultLabel_ = nullptr;
  QLabel* default_ = nullptr;
  QLabel* nextLabel_ = nullptr;
  QLabel* next_ = nullptr;
  QRadioButton* update_ = nullptr;
  QRadioButton* nothing_ = nullptr;
  QCheckBox* setAsDefault_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace conduit
