// The "New folder" sheet on screen: two tabbed pages over a NewFolderSheet.
#pragma once

#include <QDialog>
#include <QString>

#include "folders/dialogs/NewFolderSheet.h"
#include "folders/dialogs/qt/DialogControls.h"
#include "platform/Prompt.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace folders {

class SizeSpin;

// NewFolderSheetView: renders the sheet and forwards every edit to it; a
// page is checked when it is left and on OK, and a failed check keeps the
// sheet open on that page. The sheet and the prompt must outlive the view.
class NewFolderSheetView final : public QDialog {
 public:
  NewFolderSheetView(NewFolderSheet& sheet, platform::Prompt& prompt, const QString& caption,
                     QWidget* parent = nullptr);

  // ShowPage: brings a page to the front without checking the one left
  // (screenshots).
  void ShowPage(SheetPage page);

 private:
  QWidget* MakeFolderPage();
  QWidget* MakeEncryptionPage();
  // MakePageCancel: the page's own "Cancel", which marks the page and cancels.
  QPushButton* MakePageCancel(QWidget* page, SheetPage which);
  void FillFolders();
  void PageChanged(int index);
  void Ok();
  void CancelPage(SheetPage page);
  void SyncFields();

  NewFolderSheet& sheet_;
  platform::Prompt& prompt_;
  QTabWidget* pages_ = nullptr;
  QLineEdit* name_ = nullptr;
  SizeSpin* size_ = nullptr;
  QComboBox* folder_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLineEdit* retype_ = nullptr;
  TimeoutControls timeout_;
  int current_ = 0;
  bool switching_ = false;
};

}  // namespace folders
