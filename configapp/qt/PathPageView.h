// The Paths page on screen over a CPathPage.
#pragma once

#include <QWidget>

#include "configapp/PathPage.h"

class QLabel;
class QLineEdit;

namespace configapp {

// PathPageView: the two directory edit boxes, their hidden "Browse"
// buttons, and the hint line. The page must outlive the view and have opened
// (OnInitDialog).
class PathPageView final : public QWidget {
 public:
  PathPageView(CPathPage& page, QWidget* parent);

  // Render: puts the page's control state into the widgets.
  void Render();
  // Focus: gives the keyboard focus to edit box `control` (1043 or 1045),
  // its text selected, for a directory to be corrected.
  void Focus(uint32_t control);

 private:
  CPathPage& page_;
  QLineEdit* desktopPath_ = nullptr;
  QLineEdit* zeppDir_ = nullptr;
  QLabel* hint_ = nullptr;
  bool rendering_ = false;
};

}  // namespace configapp
