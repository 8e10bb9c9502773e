// The window program's front-end.
#include "scanner/ui/qt/WindowFrontEnd.h"

#include "scanner/ui/dialogs/qt/QtText.h"

namespace scanner_ui {

bool WindowFrontEnd::CreateMainWindow(std::u16string_view title) {
  window_ = std::make_unique<CMainFrame>(scanner_, prompt_);
  window_->setWindowTitle(scanner_dialogs::Qs(title));
  window_->show();
  return true;
}

void WindowFrontEnd::SetTitle(std::u16string_view title) {
  if (window_) window_->setWindowTitle(scanner_dialogs::Qs(title));
}

}  // namespace scanner_ui
