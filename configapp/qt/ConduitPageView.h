// The Conduit page on screen over a CConduitPage.
#pragma once

#include <QWidget>

#include "configapp/ConduitPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace configapp {

// ConduitPageView: action and rate lists, the show-dialog box with the
// seconds box, "Get update now" and the hint line. Every change goes to the
// page, and the controls then show what the page holds. The page must
// outlive the view and have opened (OnInitDialog).
class ConduitPageView final : public QWidget {
 public:
  ConduitPageView(CConduitPage& page, QWidget* parent);

  // Render: puts the page's control state into the widgets without
  // reporting those writes back.
  void Render();

 private:
  CConduitPage& page_;
  QComboBox* action_ = nullptr;
  QComboBox* rate_ = nullptr;
  QCheckBox* showDialog_ = nullptr;
  QLineEdit* seconds_ = nullptr;
  QLabel* hint_ = nullptr;
  bool rendering_ = false;
};

}  // namespace configapp
