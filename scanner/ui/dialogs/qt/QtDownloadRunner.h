// Runs the Download window modally over a fresh download state.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Prompt.h"
#include "scanner/ui/dialogs/ScannerDialogs.h"
#include "scanner/updater/DownloadDialog.h"

namespace scanner_dialogs {

// QtDownloadRunner: each RunDownloadDialog shows a DownloadWindow over
// `owner` until the download has ended and returns its result. The
// "Signature INVALID" box goes to `prompt` (borrowed; it is called from the
// worker thread, so it must be safe there, as ui::QtPrompt is).
class QtDownloadRunner final : public scanner::DownloadRunner {
 public:
  QtDownloadRunner(QWidget* owner, platform::Prompt& prompt, DownloadOptions options)
      : owner_(owner), prompt_(prompt), options_(options) {}

  int32_t RunDownloadDialog() override;

  // SetOwner: the window the next Download windows are shown over.
  void SetOwner(QWidget* owner) { owner_ = owner; }

 private:
  QPointer<QWidget> owner_;
  platform::Prompt& prompt_;
  DownloadOptions options_;
};

}  // namespace scanner_dialogs
