// The scanner window's dialogs as the main window opens them.
#include "scanner/ui/dialogs/ScannerDialogs.h"

#include "scanner/ui/dialogs/qt/AboutWindow.h"
#include "scanner/ui/dialogs/qt/ConfigureUpdaterWindow.h"
#include "scanner/ui/dialogs/qt/DetectionWindow.h"
#include "scanner/ui/dialogs/qt/QtDownloadRunner.h"

namespace scanner_dialogs {

std::unique_ptr<scanner::DetectionDialog> MakeDetectionDialog(QWidget* owner) {
  return std::make_unique<QtDetectionDialog>(owner);
}

int RunAboutDialog(QWidget* owner) {
  AboutWindow window(owner);
  return window.exec();
}

int RunConfigureUpdaterDialog(QWidget* owner, const scanner::Scanner& scanner,
                              platform::Prompt& prompt, const DownloadOptions& options) {
  QtDownloadRunner runner(owner, prompt, options);
  ConfigureUpdaterWindow window(
      prompt, runner, [&scanner] { return scanner.state.load() != scanner::kIdle; }, owner);
  window.Open();
  return window.exec();
}

int32_t RunDownloadFromMenu(QWidget* owner, const scanner::Scanner& scanner,
                            platform::Prompt& prompt, const DownloadOptions& options) {
  QtDownloadRunner runner(owner, prompt, options);
  return scanner::UpdateFromMenu(scanner, runner, prompt);
}

}  // namespace scanner_dialogs
