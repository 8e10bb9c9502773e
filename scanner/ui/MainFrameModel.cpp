// The main window's commands: apply, start, pause, stop and exit.
#include "scanner/ui/MainFrameModel.h"

#include "scanner/scanrun/ScanRun.h"
#include "scanner/settings/Settings.h"
#include "scanner/startup/ScannerApp.h"
#include "scanner/ui/PageResult.h"

namespace scanner {

MainFrameModel::MainFrameModel(Scanner& scanner, platform::Prompt& prompt)
    : scanner_(scanner), prompt_(prompt) {
  LoadPages();
}

void MainFrameModel::LoadPages() {
  scanOptions.Load(scanner_);
  report.Load(scanner_);
  applyEnabled_ = false;
}

int MainFrameModel::Apply() {
  if (scanner_.state.load() != kIdle) {
    ShowNumberedMessage(prompt_, kMsgCannotApply, kErrorBox);
    return kApplyRunning;
  }
  if (int rc = scanOptions.Apply(scanner_, prompt_); rc != kApplied) return rc;
  if (int rc = report.Apply(scanner_, prompt_); rc != kApplied) return rc;
  // The results page has nothing to store and always agrees.
  if (SaveSettings(scanner_) == 0) return kApplyNotSaved;
  applyEnabled_ = false;
  return kApplied;
}

int MainFrameModel::Start() {
  const uint32_t state = scanner_.state.load();
  if (state == kPaused) return ResumeScan(scanner_) == 1 ? 0 : -1;
  if (state != kIdle) return -1;
  if (applyEnabled_) {
    const int answer = ShowNumberedMessage(prompt_, kMsgApplySettings, kYesNoQuestion);
    if (answer == platform::IDYES) {
      const int rc = Apply();
      // Settings that could not be saved are still in use for this run.
      if (rc != kApplied && rc != kApplyNotSaved) return -1;
    } else if (answer != platform::IDNO) {
      return -1;
    }
  }
  page_ = Page::kResults;
  return StartScan(scanner_) == 0 ? 0 : -1;
}

int MainFrameModel::Pause() {
  return PauseScan(scanner_);
}

int MainFrameModel::Stop() {
  return StopScan(scanner_);
}

ExitChoice MainFrameModel::Exit() {
  if (!applyEnabled_) return ExitChoice::kClose;
  const int answer = ShowNumberedMessage(prompt_, kMsgSaveSettings, kYesNoCancelQuestion);
  if (answer == platform::IDNO) return ExitChoice::kClose;
  if (answer != platform::IDYES) return ExitChoice::kStay;
  const int rc = Apply();
  return rc == kApplied || rc == kApplyNotSaved ? ExitChoice::kClose : ExitChoice::kStay;
}

}  // namespace scanner
