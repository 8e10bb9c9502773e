// The scanner's front-end for the window program: start-up creates the main window through it.
#pragma once

#include <memory>
#include <string_view>

#include "platform/Prompt.h"
#include "scanner/startup/ScannerApp.h"
#include "scanner/ui/qt/MainFrame.h"

namespace scanner_ui {

// WindowFrontEnd: creates and shows the main window over the program's
// Scanner and prompt (both borrowed, outliving it) and sets its title. The
// window lives as long as the front-end.
class WindowFrontEnd : public scanner::ScannerFrontEnd {
 public:
  WindowFrontEnd(scanner::Scanner& scanner, platform::Prompt& prompt)
      : scanner_(scanner), prompt_(prompt) {}

  bool CreateMainWindow(std::u16string_view title) override;
  void SetTitle(std::u16string_view title) override;

  // Window: the main window; null before CreateMainWindow.
  CMainFrame* Window() { return window_.get(); }

 private:
  scanner::Scanner& scanner_;
  platform::Prompt& prompt_;
  std::unique_ptr<CMainFrame> window_;
};

}  // namespace scanner_ui
