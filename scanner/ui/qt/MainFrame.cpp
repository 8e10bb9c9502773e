// The main window's construction and its commands.
#include "scanner/ui/qt/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>

#include "scanner/scanrun/ScanRun.h"
#include "scanner/ui/ControlText.h"
#include "scanner/ui/PageResult.h"
#include "scanner/ui/dialogs/qt/QtText.h"
#include "scanner/ui/qt/ReportView.h"
#include "scanner/ui/qt/ResultsView.h"
#include "scanner/ui/qt/ScanOptionsView.h"
#include "scanner/ui/qt/ToolbarIcons.h"

namespace scanner_ui {

using scanner::Page;

namespace {

QScrollArea* Scrolled(QWidget* page) {
  auto* area = new QScrollArea;
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setWidget(page);
  return area;
}

}  // namespace

CMainFrame::CMainFrame(scanner::Scanner& scanner, platform::Prompt& prompt, QWidget* parent)
    : QMainWindow(parent), scanner_(scanner), prompt_(prompt), model_(scanner, prompt) {
  setObjectName("CMainFrame");
  auto changed = [this] {
    model_.SettingsChanged();
    ShowCommandState();
  };
  scanOptions_ = new ScanOptionsView(model_.scanOptions, changed);
  report_ = new ReportView(model_.report, changed);
  results_ = new ResultsView(model_.results, list_);

  auto* client = new QWidget(this);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(2, 2, 2, 2);
  apply_ = new QPushButton(scanner_dialogs::ButtonText(scanner::kMsgApply), client);
  apply_->setObjectName(QString::number(scanner::kCmdApply));
  connect(apply_, &QPushButton::clicked, this, [this] { Command(scanner::kCmdApply); });
  layout->addWidget(apply_, 0, Qt::AlignRight);
  pages_ = new QStackedWidget(client);
  pages_->addWidget(Scrolled(scanOptions_));
  pages_->addWidget(Scrolled(report_));
  pages_->addWidget(results_);
  layout->addWidget(pages_, 1);
  setCentralWidget(client);

  BuildMenu();
  BuildToolbar();
  resize(kHandheldWidth, kHandheldHeight);

  detection_ = scanner_dialogs::MakeDetectionDialog(this);
  scanner_.detectionDialog = detection_.get();
  scanner_.notifyWindow = this;
  scanner_.statusWindow = this;
  scanner_.resultList = &list_;
  ShowPage(model_.page());
}

CMainFrame::~CMainFrame() {
  // A run still going ends before the window it reports to goes away.
  scanner::StopScan(scanner_);
  scanner_.detectionDialog = nullptr;
  scanner_.notifyWindow = nullptr;
  scanner_.statusWindow = nullptr;
  scanner_.resultList = nullptr;
}

void CMainFrame::BuildMenu() {
  auto add = [this](QMenu* menu, const QString& text, int command) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::number(command));
    connect(action, &QAction::triggered, this, [this, command] { Command(command); });
    actions_[command] = action;
  };
  QMenu* file = menuBar()->addMenu("File");
  add(file, "Exit", scanner::kCmdExit);
  QMenu* help = menuBar()->addMenu("&Help");
  add(help, "&About ZEPScanner...", scanner::kCmdAbout);
  add(help, "Configure Updater", scanner::kCmdConfigureUpdater);
  add(help, "Update anti-virus base", scanner::kCmdUpdateBase);
}

void CMainFrame::BuildToolbar() {
  QToolBar* bar = addToolBar("Toolbar");
  bar->setObjectName("Toolbar");
  bar->setMovable(false);
  bar->setIconSize(QSize(16, 15));
  const int commands[] = {scanner::kCmdStart,       scanner::kCmdPause,      scanner::kCmdStop,   0,
                          scanner::kCmdScanOptions, scanner::kCmdReportPage, scanner::kCmdResults};
  for (int command : commands) {
    if (command == 0) {
      bar->addSeparator();
      continue;
    }
    QAction* action = bar->addAction(ToolbarIcon(command), QString::number(command));
    action->setObjectName(QString::number(command));
    connect(action, &QAction::triggered, this, [this, command] { Command(command); });
    actions_[command] = action;
  }
}

QAction* CMainFrame::CommandAction(int command) const {
  const auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::LoadPages() {
  model_.LoadPages();
  scanOptions_->Refresh();
  report_->Refresh();
  ShowCommandState();
}

void CMainFrame::ShowPage(Page page) {
  model_.ShowPage(page);
  pages_->setCurrentIndex(static_cast<int>(page));
  ShowCommandState();
}

void CMainFrame::ShowCommandState() {
  apply_->setVisible(model_.ApplyVisible());
  apply_->setEnabled(model_.ApplyEnabled());
  if (QAction* start = CommandAction(scanner::kCmdStart)) start->setVisible(model_.StartVisible());
  if (QAction* pause = CommandAction(scanner::kCmdPause)) pause->setVisible(model_.PauseVisible());
}

void CMainFrame::Apply() {
  model_.Apply();
  // The pages show what applying made of their texts (trimmed masks, the
  // formed Infected folder, a cleared box).
  scanOptions_->Refresh();
  report_->Refresh();
  ShowCommandState();
}

bool CMainFrame::Command(int command) {
  switch (command) {
    case scanner::kCmdApply:
      Apply();
      return true;
    case scanner::kCmdStart: {
      const bool asked = model_.ApplyEnabled();
      model_.Start();
      if (asked) {
        scanOptions_->Refresh();
        report_->Refresh();
      }
      ShowPage(model_.page());
      return true;
    }
    case scanner::kCmdPause:
      model_.Pause();
      ShowCommandState();
      return true;
    case scanner::kCmdStop:
      model_.Stop();
      ShowCommandState();
      return true;
    case scanner::kCmdScanOptions:
      ShowPage(Page::kScanOptions);
      return true;
    case scanner::kCmdReportPage:
      ShowPage(Page::kReport);
      return true;
    case scanner::kCmdResults:
      ShowPage(Page::kResults);
      return true;
    case scanner::kCmdExit:
      close();
      return true;
    case scanner::kCmdAbout:
      scanner_dialogs::RunAboutDialog(this);
      return true;
    case scanner::kCmdConfigureUpdater:
      scanner_dialogs::RunConfigureUpdaterDialog(this, scanner_, prompt_, downloadOptions);
      return true;
    case scanner::kCmdUpdateBase:
      scanner_dialogs::RunDownloadFromMenu(this, scanner_, prompt_, downloadOptions);
      return true;
    default:
      return false;
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (model_.Exit() == scanner::ExitChoice::kStay) {
    report_->Refresh();
    scanOptions_->Refresh();
    ShowCommandState();
    event->ignore();
    return;
  }
  event->accept();
}

template <typename Work>
void CMainFrame::OnWindowThread(Work work) {
  if (QThread::currentThread() == thread()) {
    work();
    return;
  }
  QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
}

void CMainFrame::OnProgress(uint32_t first, uint32_t /*second*/) {
  OnWindowThread([this, first] {
    model_.results.OnProgress(scanner_, first);
    results_->RefreshFields();
    results_->RefreshRows();
  });
}

void CMainFrame::OnState(uint32_t newState, uint32_t oldState) {
  OnWindowThread([this, newState, oldState] {
    if (model_.results.OnState(newState, oldState)) {
      results_->ClearRows();  // the worker empties the list next
    } else {
      results_->RefreshRows();
    }
    results_->RefreshFields();
    ShowCommandState();
  });
}

void CMainFrame::OnStatusText(std::u16string_view text) {
  std::u16string copy(text);
  OnWindowThread([this, &copy] {
    model_.results.OnStatusText(copy);
    results_->RefreshFields();
  });
}

void CMainFrame::OnWaitForWorker() {
  // The worker may be waiting in one of the calls above for this very thread.
  QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace scanner_ui
