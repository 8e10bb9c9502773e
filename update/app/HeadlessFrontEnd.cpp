// The progress dialog run without a window.
#include "update/app/HeadlessFrontEnd.h"

namespace update {

RunOutcome HeadlessFrontEnd::RunDialog(UpdateDialog& dialog) {
  TextDialogView view(out_);
  if (dialog.Open(view) != 0) return RunOutcome::NoAddress;
  if (onOpen) onOpen(dialog, view);
  view.WaitClosed();
  return dialog.Finish();
}

}  // namespace update
