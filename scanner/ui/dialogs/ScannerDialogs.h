// The scanner window's dialogs as the main window opens them: detection, About, updater.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Internet.h"
#include "platform/Prompt.h"
#include "scanner/scanrun/DetectionDialog.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/updater/UpdaterState.h"

class QWidget;

namespace scanner_dialogs {

// DownloadOptions: what a download started from the window may shorten
// (tests do); the defaults are the product's.
struct DownloadOptions {
  uint32_t pauseMs = scanner::kDefaultPauseMs;  // wait between opening an address and reading it
  platform::InternetLimits limits;
};

// MakeDetectionDialog: the "Virus detected!" dialog for Scanner::detectionDialog.
// Show may be called from the scan worker: it waits while the dialog runs
// modally on the GUI thread, owned by `owner` (borrowed, must outlive the
// returned object and every Show). The caller owns the result.
std::unique_ptr<scanner::DetectionDialog> MakeDetectionDialog(QWidget* owner);

// RunAboutDialog: the About box (message 1, "%s %s" of messages 2 and 7, and
// the maker's notice and web address lines) modally over `owner`. Returns the
// QDialog result (1 for OK).
int RunAboutDialog(QWidget* owner);

// RunConfigureUpdaterDialog: the Configure Updater dialog modally over
// `owner`; its Get Update is refused while `scanner` is not Idle. Boxes go
// to `prompt`. Returns the QDialog result (1 when OK saved the list).
int RunConfigureUpdaterDialog(QWidget* owner, const scanner::Scanner& scanner,
                              platform::Prompt& prompt, const DownloadOptions& options = {});

// RunDownloadFromMenu: the menu command "Update anti-virus base": message 122
// while `scanner` is not Idle, else the Download dialog modally over `owner`
// and message 123 when it did not succeed. Returns the download's result
// (scanner::kDownloadDone …) or scanner::kWrongState when refused.
int32_t RunDownloadFromMenu(QWidget* owner, const scanner::Scanner& scanner,
                            platform::Prompt& prompt, const DownloadOptions& options = {});

}  // namespace scanner_dialogs
