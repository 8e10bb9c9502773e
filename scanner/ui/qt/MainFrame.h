// The scanner's main window: menu, toolbar, the Apply button and the three pages.
#pragma once

#include <QMainWindow>
#include <map>
#include <memory>

#include "platform/Prompt.h"
#include "scanner/scanrun/DetectionDialog.h"
#include "scanner/scanrun/ResultList.h"
#include "scanner/scanrun/ScanObserver.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/ui/MainFrameModel.h"
#include "scanner/ui/dialogs/ScannerDialogs.h"

class QAction;
class QPushButton;
class QStackedWidget;

namespace scanner_ui {

class ReportView;
class ResultsView;
class ScanOptionsView;

// kHandheldWidth / kHeight: the window's default size in logical pixels.
inline constexpr int kHandheldWidth = 240;
inline constexpr int kHandheldHeight = 320;

// CMainFrame: "CMainFrame". Borrows the program's Scanner and prompt (both
// outlive it) and while it lives is the scanner's observer, detection dialog
// and result list. The run's messages arrive on the worker and are handled
// on the window's thread while the worker waits.
class CMainFrame : public QMainWindow, public scanner::ScanObserver {
 public:
  CMainFrame(scanner::Scanner& scanner, platform::Prompt& prompt, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Model: the window's state without the toolkit.
  scanner::MainFrameModel& Model() { return model_; }

  // LoadPages: the settings pages from the scanner; Apply disabled.
  void LoadPages();

  // Command: runs a menu, toolbar or button command by number; false for an
  // unknown number.
  bool Command(int command);

  // CommandAction: the menu or toolbar action of a command, null if none.
  QAction* CommandAction(int command) const;

  // ShowPage: shows a page with the Apply button's rules.
  void ShowPage(scanner::Page page);

  // downloadOptions: what the updater dialogs use (tests shorten it).
  scanner_dialogs::DownloadOptions downloadOptions;

  void OnProgress(uint32_t first, uint32_t second) override;
  void OnState(uint32_t newState, uint32_t oldState) override;
  void OnStatusText(std::u16string_view text) override;
  void OnWaitForWorker() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  void BuildToolbar();
  void Apply();
  void ShowCommandState();
  // OnWindowThread: runs `work` here, on the window's thread, waiting for it.
  template <typename Work>
  void OnWindowThread(Work work);

  scanner::Scanner& scanner_;
  platform::Prompt& prompt_;
  scanner::MainFrameModel model_;
  scanner::ResultList list_;
  std::unique_ptr<scanner::DetectionDialog> detection_;
  std::map<int, QAction*> actions_;
  QPushButton* apply_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  ScanOptionsView* scanOptions_ = nullptr;
  ReportView* report_ = nullptr;
  ResultsView* results_ = nullptr;
};

}  // namespace scanner_ui
