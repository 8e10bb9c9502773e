// Setdesk from start to end: load the settings, run the dialog, save on OK.
#pragma once

#include "palmsettings/PalmSettings.h"
#include "platform/Prompt.h"

namespace configapp {

// ModalDialog: the main dialog as the run sees it: constructed with the
// record before the settings load, shown by DoModal once they have.
class ModalDialog {
 public:
  // DoModal: shows the dialog over the record until it closes; its pages
  // have then stored their values into the record. Returns IDOK or IDCANCEL.
  virtual int DoModal() = 0;

 protected:
  ~ModalDialog() = default;
};

// Results of RunSetdesk, the program's exit status.
inline constexpr int kSetdeskDone = 0;
inline constexpr int kSetdeskNotSaved = 1;

// RunSetdesk: Load; CreateDefaults when the component key does not open;
// NoTasksKey from HasTasksKey; the dialog; Save after OK only. When
// CreateDefaults has stored the default update files, the record lists them
// too, so that the save after OK keeps them. A save that fails is shown on
// the prompt (caption string 102). Returns kSetdeskDone, or kSetdeskNotSaved
// after a failed save; after Cancel nothing is written.
int RunSetdesk(palmsettings::PalmSettings& record, ModalDialog& dialog, platform::Prompt& prompt);

}  // namespace configapp
