// The progress dialog's behaviour without a toolkit: its texts, its two threads, Cancel and the end
// of a run.
#pragma once

#include <atomic>
#include <string_view>
#include <thread>

#include "palmsettings/FetchWindows.h"
#include "palmsettings/PalmSettings.h"
#include "platform/Prompt.h"
#include "update/app/UpdateOptions.h"
#include "update/fetch/FetchThread.h"

namespace update {

// DialogResult: how the dialog closes.
enum class DialogResult { Ok, Cancelled };

// UpdateDialogView: what the dialog's logic asks of its window. Close may
// come from the watch thread; the window must take it from any thread.
class UpdateDialogView {
 public:
  virtual void SetCaption(std::string_view text) = 0;
  virtual void SetCancelText(std::string_view text) = 0;
  virtual palmsettings::ProgressWindow& progressBar() = 0;
  virtual palmsettings::StatusWindow& statusText() = 0;
  virtual void Close(DialogResult result) = 0;

 protected:
  ~UpdateDialogView() = default;
};

// UpdateDialog: one interactive run. Open starts the fetch thread and the
// watch thread; the watch thread ends the run when the fetch has ended or
// fetchLimitMs has passed: it stores LastUpdate, promotes the downloads,
// shows message 202 (captioned 203) when the set is incomplete, and closes
// the dialog with Ok. Cancel ends both threads instead and writes nothing.
// Exactly one of the two happens.
class UpdateDialog {
 public:
  // kNoAddress: Open's result when there is no update address.
  static constexpr int kNoAddress = -1;

  UpdateDialog(palmsettings::PalmSettings& record, platform::Prompt& prompt,
               const UpdateOptions& options);
  UpdateDialog(const UpdateDialog&) = delete;
  UpdateDialog& operator=(const UpdateDialog&) = delete;
  // ~UpdateDialog: Finish.
  ~UpdateDialog();

  // Open: sets the caption (200) and the Cancel text (201). Without an
  // update address shows message 204 captioned 200 and returns kNoAddress:
  // nothing is fetched or written, and the program ends with exit code 1.
  // Otherwise hands the record the view's progress bar and status text,
  // starts both threads and returns 0. The view must outlive Finish.
  int Open(UpdateDialogView& view);

  // Cancel: the Cancel button (also Escape and closing the window). Stops
  // the fetch, closes the dialog as cancelled and returns true; false, with
  // nothing done, once the watch thread has begun to end the run.
  bool Cancel();

  // Pause / Resume: the dialog's hidden PAUSE and RESUME buttons.
  void Pause();
  void Resume();

  // ThreadsEnded: whether both threads have finished their work, so that
  // Finish will not wait; a window keeps serving its events until then.
  bool ThreadsEnded() const;

  // Finish: joins both threads (stopping a fetch still running) and tells
  // how the run ended: Cancelled, Complete or Incomplete. Call it on the
  // thread that called Open.
  RunOutcome Finish();

  // toldIncomplete: whether message 202 was shown.
  bool toldIncomplete() const { return told_.load(); }

 private:
  enum class Phase { Idle, Running, Finishing, Cancelled };

  void Watch();

  palmsettings::PalmSettings& record_;
  platform::Prompt& prompt_;
  UpdateOptions options_;
  UpdateDialogView* view_ = nullptr;
  FetchThread fetch_;
  std::thread watch_;
  std::atomic<Phase> phase_{Phase::Idle};
  std::atomic<bool> watchEnded_{false};
  std::atomic<bool> complete_{false};
  std::atomic<bool> told_{false};
};

}  // namespace update
