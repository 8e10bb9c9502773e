// The main dialog as Setdesk's run shows it: modal, on screen.
#pragma once

#include "configapp/SetdeskRun.h"
#include "palmsettings/PalmSettings.h"
#include "platform/Prompt.h"

namespace configapp {

// QtSetdeskDialog: given the record at construction; its window and pages
// come into being only in DoModal, over the settings as loaded by then. The
// record and the prompt must outlive it.
class QtSetdeskDialog final : public ModalDialog {
 public:
  QtSetdeskDialog(palmsettings::PalmSettings& record, platform::Prompt& prompt)
      : record_(record), prompt_(prompt) {}

  // DoModal: shows the dialog until it closes; IDOK or IDCANCEL.
  int DoModal() override;

 private:
  palmsettings::PalmSettings& record_;
  platform::Prompt& prompt_;
};

}  // namespace configapp
