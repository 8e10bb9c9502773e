// The progress dialog (template 102) without a toolkit: an install pass or a fetch under a
// progress bar.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "palmsettings/FetchWindows.h"
#include "palmsettings/PalmSettings.h"
#include "platform/Internet.h"
#include "platform/Prompt.h"
#include "update/fetch/FetchThread.h"

namespace conduit {

// ProgressDialogView: what the dialog's logic asks of its window. Close may
// come from the watcher thread, and the two controls are driven from the
// fetch thread: the window must take those calls from any thread.
class ProgressDialogView {
 public:
  virtual palmsettings::ProgressWindow& progressBar() = 0;  // control 1009
  virtual palmsettings::StatusWindow& textLine() = 0;       // control 1010
  virtual void Close() = 0;

 protected:
  ~ProgressDialogView() = default;
};

// ProgressOptions: the fetch's limits, which tests shorten.
struct ProgressOptions {
  // fetchLimitMs: the longest the dialog waits for its fetch thread.
  uint32_t fetchLimitMs = 120000;
  // limits: how long a silent server is waited for.
  platform::InternetLimits limits = {};
};

// InstallPass: the work of install mode, run on the dialog's thread with its
// progress bar and text line; returns 0, or -2 when a database failed.
using InstallPass =
    std::function<int32_t(palmsettings::ProgressWindow& bar, palmsettings::StatusWindow& text)>;

// UpdateProgressDialog: one install pass or one fetch. The window calls
// Open, shows itself, calls OnInitDialog, serves its events until Close
// came and ThreadsEnded() holds, then calls Finish. The record, the prompt
// and the view must outlive Finish.
class UpdateProgressDialog {
 public:
  static constexpr int32_t kModeInstall = 1;
  static constexpr int32_t kModeFetch = 2;
  // kNoAddress: Open's result when there is no update address.
  static constexpr int kNoAddress = -1;
  static constexpr uint32_t kCancel = 2;
  static constexpr uint32_t kProgressBar = 1009;
  static constexpr uint32_t kTextLine = 1010;

  UpdateProgressDialog(palmsettings::PalmSettings& record, platform::Prompt& prompt, int32_t mode,
                       InstallPass pass = {}, ProgressOptions options = {});
  UpdateProgressDialog(const UpdateProgressDialog&) = delete;
  UpdateProgressDialog& operator=(const UpdateProgressDialog&) = delete;
  // ~UpdateProgressDialog: Finish.
  ~UpdateProgressDialog();

  // Open: the test before the dialog is shown, in either mode: without an
  // update address shows string 204 captioned 512 (icon error, no owner)
  // and returns kNoAddress; the dialog must then not open. Else remembers
  // the view and returns 0.
  int Open(ProgressDialogView& view);

  // OnInitDialog: once the window shows. Install mode runs the install pass
  // at once, before any input is handled, and closes. Fetch mode hands the
  // record the progress bar and text line, starts FetchLoop on a thread of
  // its own (no control-centre reports) and a watcher that closes the
  // dialog when the fetch ends or after fetchLimitMs (stopping a fetch still
  // under way). Another mode closes at once.
  void OnInitDialog();

  // OnCancel: the Cancel button: stops the fetch and closes the dialog. In
  // install mode the pass has ended before any input, so nothing is left to
  // stop.
  void OnCancel();

  // ThreadsEnded: whether the fetch and the watcher have finished, so that
  // Finish will not wait; a window keeps serving its events until then (a
  // fetch may still need a message box answered).
  bool ThreadsEnded() const;

  // Finish: joins the watcher, stops a fetch still running at the time
  // limit and joins it (so its marks are final and nothing outlives the
  // dialog), and takes the windows back from the record. Call it on the
  // thread that called Open; harmless twice.
  void Finish();

  int32_t mode() const { return mode_; }
  // installResult: the install pass's result: 0, or -2 when a database failed.
  int32_t installResult() const { return installResult_; }
  // cancelled: whether Cancel stopped the fetch.
  bool cancelled() const { return phase_.load() == Phase::Cancelled; }

 private:
  enum class Phase { Idle, Running, Closing, Cancelled };

  void Watch();

  palmsettings::PalmSettings& record_;
  platform::Prompt& prompt_;
  int32_t mode_;
  InstallPass pass_;
  ProgressOptions options_;
  ProgressDialogView* view_ = nullptr;
  int32_t installResult_ = 0;
  update::FetchThread fetch_;
  std::thread watch_;
  std::atomic<Phase> phase_{Phase::Idle};
  std::atomic<bool> watchEnded_{false};
};

}  // namespace conduit
