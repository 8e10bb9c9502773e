// The progress dialog on screen: caption, status text, progress bar, Cancel and the hidden
// PAUSE/RESUME.
#pragma once

#include <QDialog>

#include "palmsettings/FetchWindows.h"
#include "update/app/ProgressModel.h"
#include "update/app/UpdateDialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace update {

// UpdateDialogWindow: a thin view over UpdateDialog. Its controls are named
// after their old numbers: "cancel" (2), "status" (1001), "progress" (102),
// "pause" (1002) and "resume" (1003), the last two hidden. Calls from the
// fetch and watch threads are queued to the window's thread without
// waiting, so a thread that Cancel stops never waits on the window.
class UpdateDialogWindow final : public QDialog,
                                 public UpdateDialogView,
                                 public palmsettings::ProgressWindow,
                                 public palmsettings::StatusWindow {
 public:
  explicit UpdateDialogWindow(UpdateDialog& dialog, QWidget* parent = nullptr);

  // UpdateDialogView
  void SetCaption(std::string_view text) override;
  void SetCancelText(std::string_view text) override;
  palmsettings::ProgressWindow& progressBar() override { return *this; }
  palmsettings::StatusWindow& statusText() override { return *this; }
  void Close(DialogResult result) override;

  // ProgressWindow
  void SetRange(int low, int high) override;
  void SetStep(int step) override;
  void StepIt() override;
  void SetPos(int position) override;
  void OffsetPos(int delta) override;

  // StatusWindow
  void SetText(std::string_view text) override;

  // reject: Escape and the window's close button are Cancel.
  void reject() override;

 private:
  void Progress(void (ProgressModel::*change)(int), int value);
  void ShowProgress();

  UpdateDialog& dialog_;
  ProgressModel model_;  // touched on the window's thread only
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace update
