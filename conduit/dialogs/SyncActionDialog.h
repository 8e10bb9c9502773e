// The sync-time dialog (template 7000) without a toolkit: this synchronisation's action.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "conduit/dialogs/DialogEnd.h"
#include "conduit/dialogs/OkCountdown.h"
#include "palmsettings/PalmSettings.h"

namespace conduit {

// SyncAction: what the synchronisation does after the dialog.
enum SyncAction : int32_t {
  kActionCancelled = 0,   // the user cancelled: unregister and end
  kActionNow = 1,         // fetch the update now
  kActionOnSchedule = 2,  // start the downloader when an update is due
};

// HandheldBaseReader: reads the handheld's virus base. Returns the number of
// known viruses, or -1 when the base cannot be opened (then nothing else is
// set). When it was read, sets `stamp` to the base stamp of its record 0 and,
// when `dateText` is not null, the date of the base ("%d / %d / %d").
using HandheldBaseReader = std::function<int32_t(uint32_t& stamp, std::string* dateText)>;

// SyncActionDialog: the dialog's members and behaviour. The view shows
// Text() of each control and the selected radio button after every call,
// runs timer 1 (kCountdownPeriodMs) while timerRunning(), and closes once
// end() is no longer Open. The record must outlive it.
class SyncActionDialog {
 public:
  // Controls of the template.
  static constexpr uint32_t kOk = 1;
  static constexpr uint32_t kCancel = 2;
  static constexpr uint32_t kCaption = 0;  // the window's caption
  static constexpr uint32_t kCountField = 1004;
  static constexpr uint32_t kDateField = 1005;
  static constexpr uint32_t kBaseGroup = 1024;
  static constexpr uint32_t kActionGroup = 1025;
  static constexpr uint32_t kCountLabel = 1026;
  static constexpr uint32_t kDateLabel = 1027;
  static constexpr uint32_t kNowRadio = 7000;
  static constexpr uint32_t kScheduleRadio = 7001;
  static constexpr uint32_t kTimerId = 1;
  // kFieldSize: the count and date buffers, characters with the terminator.
  static constexpr size_t kFieldSize = 32;

  SyncActionDialog(const palmsettings::PalmSettings& record, HandheldBaseReader reader);

  // OnInitDialog: sets the texts (caption 512, 1024 ← 500, 1026 ← 501, 1027
  // ← 502, 1025 ← 504, 7001 ← 506, 7000 ← 505, Cancel ← 201), selects the
  // radio button of the action, reads the handheld base into 1004 (the
  // count, -1 when unread) and 1005 (the date, empty when unread), and
  // starts the countdown from SyncWaitTime (below 1 counts as 1).
  void OnInitDialog();
  // OnTimer: timer 1 ticked: closes with OK at the last second (the action
  // stands), else counts down.
  void OnTimer();
  // OnRadio: 7000 or 7001 was clicked: the action becomes 1 or 2, the timer
  // stops and OK reads "OK"; from then on only the user closes the dialog.
  void OnRadio(uint32_t control);
  // OnOk: OK, or closing the window. OnCancel: the action becomes 0.
  void OnOk() { end_ = DialogEnd::Ok; }
  void OnCancel();

  // Text: the text of a control (kCaption for the caption); empty for one
  // without a text.
  std::string Text(uint32_t control) const;
  // selectedRadio: 7000, 7001, or 0 when neither is selected.
  uint32_t selectedRadio() const;

  int32_t action() const { return action_; }
  bool timerRunning() const { return countdown_.running(); }
  DialogEnd end() const { return end_; }
  // handheldCount: ReadHandheldBase's result; -1 until read.
  int32_t handheldCount() const { return count_; }
  // handheldStamp: the handheld's base stamp; meaningful when baseRead().
  uint32_t handheldStamp() const { return stamp_; }
  bool baseRead() const { return count_ >= 0; }

 private:
  const palmsettings::PalmSettings& record_;
  HandheldBaseReader reader_;
  int32_t action_ = kActionOnSchedule;
  OkCountdown countdown_;
  DialogEnd end_ = DialogEnd::Open;
  int32_t count_ = -1;
  uint32_t stamp_ = 0;
  std::string countText_;
  std::string dateText_;
  std::string caption_, baseGroup_, countLabel_, dateLabel_, actionGroup_, now_, schedule_, cancel_;
};

}  // namespace conduit
