// The Download window run modally over its own download state.
#include "scanner/ui/dialogs/qt/QtDownloadRunner.h"

#include "scanner/ui/dialogs/qt/DownloadWindow.h"

namespace scanner_dialogs {

int32_t QtDownloadRunner::RunDownloadDialog() {
  scanner::UpdaterState updater;
  updater.prompt = &prompt_;
  updater.pauseMs = options_.pauseMs;
  updater.limits = options_.limits;
  {
    // The window goes before the state: its model ends the worker first.
    DownloadWindow window(updater, owner_);
    window.Start();
    window.exec();
  }
  return updater.result.load();
}

}  // namespace scanner_dialogs
