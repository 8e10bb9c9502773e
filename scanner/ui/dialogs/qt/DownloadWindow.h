// The Download window: a thin view over the DownloadDialog model, fed by the download worker.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "scanner/updater/DownloadDialog.h"

namespace scanner_dialogs {

// DownloadWindow: status text 1081, progress bar 1080 and the button 2
// (Cancel), each named by its number. Cancel asks the worker to stop after
// the address in progress; escape (or closing the window) aborts at once.
// The window closes itself on the first tick after the worker has ended.
// The worker's calls wait until the GUI thread has shown them. `updater`
// is borrowed and must outlive the window.
class DownloadWindow : public QDialog, public scanner::DownloadDialogView {
 public:
  DownloadWindow(scanner::UpdaterState& updater, QWidget* owner);
  ~DownloadWindow() override;

  // Start: the model's OnInit: texts, settings, the worker and the timer.
  void Start() { model_.OnInit(); }

  void reject() override;

  // The view's calls, public so that a still picture can be drawn without a download.
  void SetTitle(std::u16string_view title) override;
  void SetButtonText(std::u16string_view text) override;
  void StartTimer(uint32_t ms) override;
  void Close() override;
  void OnStatusText(std::u16string_view text) override;
  void OnProgressRange(int low, int high) override;
  void OnProgressAdvance(int delta) override;
  void OnProgressPos(int pos) override;
  void OnWaitForWorker() override;

 private:
  // OnGuiThread: runs `call` here, from the worker by a blocking hand-over.
  void OnGuiThread(const std::function<void()>& call);

  QLabel* status_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  QTimer timer_;
  bool closing_ = false;
  scanner::DownloadDialog model_;  // last: goes first, ending the worker while the view stands
};

}  // namespace scanner_dialogs
