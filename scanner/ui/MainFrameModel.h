// The main window without a toolkit: the page shown, the Apply button, the toolbar and the
// commands.
#pragma once

#include <cstdint>

#include "platform/Prompt.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/ui/ReportPage.h"
#include "scanner/ui/ResultsPage.h"
#include "scanner/ui/ScanOptionsPage.h"

namespace scanner {

// Commands of the menu and the toolbar.
enum ScannerCommand : int {
  kCmdApply = 121,
  kCmdStart = 32777,
  kCmdPause = 32775,
  kCmdStop = 32776,
  kCmdScanOptions = 32783,
  kCmdReportPage = 32784,
  kCmdResults = 32778,
  kCmdExit = 57665,
  kCmdAbout = 57664,
  kCmdConfigureUpdater = 32786,
  kCmdUpdateBase = 32793,
};

// Page: the page the client area shows.
enum class Page { kScanOptions, kReport, kResults };

// ExitChoice: how the exit question ended.
enum class ExitChoice { kClose, kStay };

// MainFrameModel: the window's state and commands over the program's one
// Scanner and prompt (both borrowed). Lives on the window's thread.
class MainFrameModel {
 public:
  MainFrameModel(Scanner& scanner, platform::Prompt& prompt);

  ScanOptionsPage scanOptions;
  ReportPage report;
  ResultsPage results;

  // LoadPages: the settings pages from the scanner (at start-up, after the
  // settings are read); Apply becomes disabled.
  void LoadPages();

  Page page() const { return page_; }
  // ShowPage: switches the client area; Apply keeps its enabling.
  void ShowPage(Page page) { page_ = page; }

  // ApplyVisible / ApplyEnabled: the Apply button stands on the two settings
  // pages only and is enabled once a settings control changed.
  bool ApplyVisible() const { return page_ != Page::kResults; }
  bool ApplyEnabled() const { return applyEnabled_; }
  // SettingsChanged: a settings control changed: Apply becomes enabled.
  void SettingsChanged() { applyEnabled_ = true; }

  // StartVisible / PauseVisible: the toolbar's start and pause buttons: pause
  // while Running, start otherwise.
  bool StartVisible() const { return scanner_.state.load() != kRunning; }
  bool PauseVisible() const { return scanner_.state.load() == kRunning; }

  // Apply: refused with message 93 while the scan is not Idle
  // (kApplyRunning, nothing changed); then each page in order, stopping at
  // the first that fails (kApplyInvalid, Apply stays enabled); then
  // SaveSettings and Apply disabled (kApplied). When saving fails the
  // settings are in use but Apply stays enabled (kApplyNotSaved).
  int Apply();

  // Start: the start command. Paused: resumes. Idle: with unapplied changes
  // asks message 4 first (Yes applies and a failed apply cancels; No keeps
  // the old settings and Apply enabled), then shows the results page and
  // starts the scan. Returns 0 when a run was started or resumed, else -1.
  int Start();

  // Pause / Stop: the pause and stop commands (PauseScan, StopScan).
  int Pause();
  int Stop();

  // Exit: with unapplied changes asks message 6: Yes applies (a failed apply
  // stays), No closes without applying, Cancel stays. kClose lets the window
  // close; the program's end stops a run and saves the settings.
  ExitChoice Exit();

 private:
  Scanner& scanner_;
  platform::Prompt& prompt_;
  Page page_ = Page::kScanOptions;
  bool applyEnabled_ = false;
};

}  // namespace scanner
