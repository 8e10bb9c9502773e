// The main dialog on screen over a SetdeskDialog: picture, tab control, the three pages, OK and
// Cancel.
#pragma once

#include <QDialog>

#include "configapp/DialogGeometry.h"
#include "configapp/SetdeskDialog.h"

class QLabel;
class QPushButton;

namespace configapp {

class ConduitPageView;
class PathPageView;
class TabControl;
class UpdatePageView;

// SetdeskDialogView: opens the dialog (SetdeskDialog::OnInitDialog) and
// shows it. Closing it by OK, Cancel or the window's close makes the pages
// store their values into the record; OK closes only when the pages'
// checks pass. The dialog must outlive the view.
class SetdeskDialogView final : public QDialog {
 public:
  explicit SetdeskDialogView(SetdeskDialog& dialog, QWidget* parent = nullptr);

  // SelectTab: selects tab `index` as a click on it does.
  void SelectTab(int index);
  // PageGeometry: the rectangle the pages were last given, in pixels of the
  // dialog's client area.
  DialogRect PageGeometry() const { return pageRect_; }
  // BaseUnits: the dialog font's base units that dialog units convert by.
  DialogBaseUnits BaseUnits() const { return base_; }

  void done(int result) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Ok();
  // Arrange: the picture, tab control and buttons for the current size: the
  // template's places, the tab control taking any extra room.
  void Arrange();
  // PlacePages: puts the three pages on the tab control's display area.
  void PlacePages();
  // ShowPages: shows the page the dialog says is visible, hides the others.
  void ShowPages();

  SetdeskDialog& dialog_;
  DialogBaseUnits base_;
  QLabel* picture_ = nullptr;
  TabControl* tabs_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QWidget* pages_[kPageCount] = {};
  PathPageView* pathsView_ = nullptr;
  DialogRect pageRect_;
};

// DialogBaseUnitsOf: the base units of a font as Windows measures a dialog
// font: the average width of the 52 Latin letters, rounded, and the
// character height.
DialogBaseUnits DialogBaseUnitsOf(const QFont& font);

}  // namespace configapp
