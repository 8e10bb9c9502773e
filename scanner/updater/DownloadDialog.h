// The Download dialog without a toolkit, and how a download is started from the menu.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Prompt.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/updater/UpdaterState.h"

namespace scanner {

// kDownloadTickMs: the dialog's timer, which closes it once the worker is Idle.
inline constexpr uint32_t kDownloadTickMs = 500;

// DownloadDialogView: the window of the Download dialog. Besides the title,
// the button and the timer it is the status text (control 1081) and the
// progress bar (control 1080), so it receives the worker's observer calls.
class DownloadDialogView : public UpdaterObserver {
 public:
  virtual void SetTitle(std::u16string_view title) = 0;
  virtual void SetButtonText(std::u16string_view text) = 0;
  // StartTimer: calls DownloadDialog::OnTimer every `ms` from now on.
  virtual void StartTimer(uint32_t ms) = 0;
  // Close: ends the dialog (no more calls to the model follow).
  virtual void Close() = 0;
};

// DownloadDialog: the dialog's rules over one UpdaterState; the view calls
// it on its own thread. Both are borrowed. Destroying the model while the
// download runs aborts it.
class DownloadDialog {
 public:
  DownloadDialog(UpdaterState& updater, DownloadDialogView& view)
      : updater_(updater), view_(view) {}
  ~DownloadDialog();
  DownloadDialog(const DownloadDialog&) = delete;
  DownloadDialog& operator=(const DownloadDialog&) = delete;

  // OnInit: title message 90, button message 116, LoadUpdaterSettings, the
  // view as status text and progress bar, StartDownload and the 500 ms timer.
  void OnInit();

  // OnTimer: closes the dialog once the updater is Idle.
  void OnTimer();

  // OnCancelButton: CancelDownload; the title becomes message 89.
  void OnCancelButton();

  // OnEscape: AbortDownload (the worker ends at once); title message 89.
  void OnEscape();

 private:
  UpdaterState& updater_;
  DownloadDialogView& view_;
};

// DownloadRunner: runs the Download dialog modally over a fresh UpdaterState
// and returns that state's result once the dialog has closed.
class DownloadRunner {
 public:
  virtual ~DownloadRunner() = default;
  virtual int32_t RunDownloadDialog() = 0;
};

// RunDownload: the dialog through `runner`, then message 123 "Cannot download
// new anti-virus database." (captioned message 5, error icon) when the result
// is not kDownloadDone. Returns the result.
int32_t RunDownload(DownloadRunner& runner, platform::Prompt& prompt);

// UpdateFromMenu: the menu command "Update anti-virus base": while the scan
// is not Idle message 122 "Scanner is running.Cannot update database." and
// kWrongState; otherwise RunDownload's result.
int32_t UpdateFromMenu(const Scanner& scanner, DownloadRunner& runner, platform::Prompt& prompt);

// ShowUpdaterMessage: a numbered message captioned with message 5, with the
// error icon and OK.
void ShowUpdaterMessage(platform::Prompt& prompt, uint32_t id);

}  // namespace scanner
