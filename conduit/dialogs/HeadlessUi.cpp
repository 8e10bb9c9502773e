// The dialogs run to their defaults, and the progress dialog's work without a window.
#include "conduit/dialogs/HeadlessUi.h"

#include <condition_variable>
#include <mutex>
#include <string>

#include "conduit/dialogs/ActionDialog.h"
#include "conduit/dialogs/NoticeDialog.h"
#include "conduit/dialogs/SyncActionDialog.h"
#include "conduit/dialogs/UpdateProgressDialog.h"

namespace conduit {

namespace {

// QuietProgress: the progress dialog's controls with nobody watching; Close
// may come from any thread.
class QuietProgress final : public ProgressDialogView,
                            public palmsettings::ProgressWindow,
                            public palmsettings::StatusWindow {
 public:
  palmsettings::ProgressWindow& progressBar() override { return *this; }
  palmsettings::StatusWindow& textLine() override { return *this; }
  void Close() override {
    std::lock_guard lock(mutex_);
    closed_ = true;
    changed_.notify_all();
  }
  void WaitClosed() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return closed_; });
  }

  void SetRange(int, int) override {}
  void SetStep(int) override {}
  void StepIt() override {}
  void SetPos(int) override {}
  void OffsetPos(int) override {}
  void SetText(std::string_view) override {}

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool closed_ = false;
};

}  // namespace

void HeadlessUi::Run(ActionDialog& dialog) {
  dialog.OnInitDialog();
  dialog.OnOk();
}

void HeadlessUi::Run(SyncActionDialog& dialog) {
  dialog.OnInitDialog();
  dialog.OnOk();
}

void HeadlessUi::Run(UpdateProgressDialog& dialog) {
  QuietProgress view;
  if (dialog.Open(view) != 0) return;
  dialog.OnInitDialog();
  view.WaitClosed();
  dialog.Finish();
}

void HeadlessUi::Run(NoticeDialog& dialog) {
  dialog.OnInitDialog();
  if (out_) {
    std::string line = dialog.caption() + ": " + dialog.text() + "\n";
    std::fputs(line.c_str(), out_);
  }
  dialog.OnOk();
}

}  // namespace conduit
