// How the conduit shows its four dialogs and its message boxes: on screen or not at all.
#pragma once

#include "platform/Prompt.h"

namespace conduit {

class ActionDialog;
class NoticeDialog;
class SyncActionDialog;
class UpdateProgressDialog;

// ConduitUi: runs each dialog modally on the calling thread until it ends.
// The sync-time, progress and notice dialogs have no owner and are centred
// on the screen; the settings dialog belongs to the foreground window.
class ConduitUi {
 public:
  // prompt: every message box of the conduit (no owner).
  virtual platform::Prompt& prompt() = 0;

  // Run: shows the dialog from OnInitDialog until its end() is no longer
  // Open. The progress dialog is opened through its Open (which may refuse:
  // then nothing is shown) and finished through its Finish.
  virtual void Run(ActionDialog& dialog) = 0;
  virtual void Run(SyncActionDialog& dialog) = 0;
  virtual void Run(UpdateProgressDialog& dialog) = 0;
  virtual void Run(NoticeDialog& dialog) = 0;

 protected:
  ~ConduitUi() = default;
};

}  // namespace conduit
