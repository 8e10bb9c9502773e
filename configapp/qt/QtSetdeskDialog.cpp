// The modal run of the main dialog.
#include "configapp/qt/QtSetdeskDialog.h"

#include "configapp/SetdeskDialog.h"
#include "configapp/qt/SetdeskDialogView.h"

namespace configapp {

int QtSetdeskDialog::DoModal() {
  SetdeskDialog dialog(record_, prompt_);
  SetdeskDialogView view(dialog);
  return view.exec() == QDialog::Accepted ? platform::IDOK : platform::IDCANCEL;
}

}  // namespace configapp
