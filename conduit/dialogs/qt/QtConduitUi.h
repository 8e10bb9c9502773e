// The conduit's dialogs and message boxes in Qt, inside a host that may have no Qt application.
#pragma once

#include <memory>

#include "conduit/dialogs/ConduitUi.h"

class QApplication;

namespace conduit {

// QtConduitUi: shows each dialog as a modal Qt window on the calling thread.
// The HotSync manager that loads the conduit need not use Qt: when no Qt
// application exists, the first dialog or message box creates a
// QApplication on the calling thread, and it is destroyed with this object
// (so none outlives the export call that made it). One the host made is
// used as it is and never destroyed here.
class QtConduitUi final : public ConduitUi {
 public:
  QtConduitUi();
  ~QtConduitUi();
  QtConduitUi(const QtConduitUi&) = delete;
  QtConduitUi& operator=(const QtConduitUi&) = delete;

  // Usable: whether windows can be shown from the calling thread: the host's
  // Qt application is a widget application living on this thread, or there
  // is none and a display is available (DISPLAY, WAYLAND_DISPLAY or
  // QT_QPA_PLATFORM set). When not, the conduit runs without dialogs.
  static bool Usable();

  platform::Prompt& prompt() override;
  void Run(ActionDialog& dialog) override;
  void Run(SyncActionDialog& dialog) override;
  void Run(UpdateProgressDialog& dialog) override;
  void Run(NoticeDialog& dialog) override;

  // EnsureApplication: creates the QApplication when none exists.
  void EnsureApplication();

 private:
  class ApplicationPrompt;

  std::unique_ptr<ApplicationPrompt> prompt_;
  std::unique_ptr<QApplication> app_;  // only one this object created
  int argc_ = 1;
  char name_[8] = "ZEPPalm";
  char* argv_[2] = {name_, nullptr};
};

}  // namespace conduit
