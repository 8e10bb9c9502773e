// The URLs page on screen over a CUpdatePage.
#pragma once

#include <QWidget>

#include "configapp/UpdatePage.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace configapp {

// UpdatePageView: the address edit box, the address list and its five
// buttons, and the hint line. The page must outlive the view and have opened
// (OnInitDialog).
class UpdatePageView final : public QWidget {
 public:
  UpdatePageView(CUpdatePage& page, QWidget* parent);

  // Render: puts the page's control state into the widgets without
  // reporting those writes back.
  void Render();

 private:
  CUpdatePage& page_;
  QLineEdit* address_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* hint_ = nullptr;
  bool rendering_ = false;
};

}  // namespace configapp
