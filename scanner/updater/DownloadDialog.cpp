// The Download dialog without a toolkit, and how a download is started from the menu.
#include "scanner/updater/DownloadDialog.h"

#include "scanner/startup/ScannerApp.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/updater/Download.h"
#include "scanner/updater/UpdaterMessages.h"
#include "scanner/updater/UpdaterSettings.h"

namespace scanner {

DownloadDialog::~DownloadDialog() {
  // The view goes with the dialog; no worker may call it afterwards.
  AbortDownload(updater_);
  if (updater_.statusWindow == &view_) updater_.statusWindow = nullptr;
  if (updater_.progressWindow == &view_) updater_.progressWindow = nullptr;
}

void DownloadDialog::OnInit() {
  view_.SetTitle(ScannerText(kMsgDownloading));
  view_.SetButtonText(ScannerText(kMsgCancel));
  LoadUpdaterSettings(updater_);
  updater_.progressWindow = &view_;
  updater_.statusWindow = &view_;
  StartDownload(updater_);
  view_.StartTimer(kDownloadTickMs);
}

void DownloadDialog::OnTimer() {
  if (updater_.state == kUpdaterIdle) view_.Close();
}

void DownloadDialog::OnCancelButton() {
  CancelDownload(updater_);
  view_.SetTitle(ScannerText(kMsgCancelling));
}

void DownloadDialog::OnEscape() {
  AbortDownload(updater_);
  view_.SetTitle(ScannerText(kMsgCancelling));
}

void ShowUpdaterMessage(platform::Prompt& prompt, uint32_t id) {
  ShowNumberedMessage(prompt, id, platform::MB_ICONERROR | platform::MB_OK);
}

int32_t RunDownload(DownloadRunner& runner, platform::Prompt& prompt) {
  const int32_t result = runner.RunDownloadDialog();
  if (result != kDownloadDone) ShowUpdaterMessage(prompt, kMsgCannotDownload);
  return result;
}

int32_t UpdateFromMenu(const Scanner& scanner, DownloadRunner& runner, platform::Prompt& prompt) {
  if (scanner.state.load() != kIdle) {
    ShowUpdaterMessage(prompt, kMsgScannerRunning);
    return kWrongState;
  }
  return RunDownload(runner, prompt);
}

}  // namespace scanner
