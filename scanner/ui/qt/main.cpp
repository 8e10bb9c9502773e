// ZEPScanner: the handheld virus scanner's window.
#include <QApplication>

#include "scanner/startup/ScannerApp.h"
#include "scanner/ui/qt/WindowFrontEnd.h"
#include "ui/QtPrompt.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  scanner::ScannerApp app;
  ui::QtPrompt prompt;
  int status = 0;
  {
    scanner_ui::WindowFrontEnd frontEnd(app.scanner, prompt);
    if (scanner::InitInstance(app, frontEnd, prompt) == scanner::StartResult::kStarted) {
      // The Infected folder may have been corrected after the window was made.
      frontEnd.Window()->LoadPages();
      status = application.exec();
    }
    // The run ends and the settings are saved while the window can still
    // show the run's last messages.
    scanner::ExitInstance(app);
  }
  return status;
}
