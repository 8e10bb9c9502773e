// The Conduit page without a toolkit: action, update rate, the sync-time dialog and "Get update
// now".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "configapp/HintLine.h"
#include "palmsettings/PalmSettings.h"
#include "platform/Prompt.h"

namespace configapp {

// ListItem: one entry of a drop-down list: its text and its item data.
struct ListItem {
  std::string text;
  uint32_t data = 0;
};

// kRateDays: the item data of the rate list, in list order (two weeks is 15
// days, two months 60).
inline constexpr uint32_t kRateDays[] = {1, 7, 15, 30, 60};

// Wait-time range of the sync-time dialog, and the first accepted value when
// the stored one is outside it.
inline constexpr int32_t kWaitTimeMinimum = 1;
inline constexpr int32_t kWaitTimeMaximum = 60;
inline constexpr int32_t kFirstAcceptedFallback = 5;

// ConduitControls: what the page's controls show. The view renders it after
// every call and reports the user's changes through the calls below.
struct ConduitControls {
  std::string seconds;  // the seconds edit box 1006
  bool secondsEnabled = false;
  bool showDialog = false;   // the check box 1003
  int actionSelection = -1;  // index in the action list, -1 none
  int rateSelection = -1;    // index in the rate list, -1 none
};

// Exchange: the outcome of taking the values from the controls.
enum class Exchange : uint8_t {
  Accepted,    // a wait time of 1 to 60
  OutOfRange,  // string 323 shown; the last accepted value is back in place
  NotInteger,  // "Please enter an integer." shown; the wait time kept its value
};

// CConduitPage: the page's members and its behaviour (template 129). The
// record and the prompt must outlive it. Its values reach the record only in
// OnDestroy.
class CConduitPage {
 public:
  CConduitPage(palmsettings::PalmSettings& record, platform::Prompt& prompt);

  // OnInitDialog: fills both lists, takes SyncWaitTime and SyncShowDlg,
  // selects the items whose data equal DefaultAction and DaysBetweenUpdate
  // (none for another value) and puts the values into the controls, which
  // checks the wait time. The first accepted wait time is the stored one when
  // it lies in 1–60, else 5, so a stored value out of range shows string 323
  // once and opens with 5.
  void OnInitDialog();

  // Text: the text of a labelled control (1027, 1024, 1025, 1003, 1026,
  // 1008); empty for another.
  std::string Text(uint32_t control) const;

  const std::vector<ListItem>& actionItems() const { return actionItems_; }
  const std::vector<ListItem>& rateItems() const { return rateItems_; }
  const ConduitControls& controls() const { return controls_; }
  const std::string& hint() const { return hint_.text(); }
  int32_t waitTime() const { return waitTime_; }
  uint32_t showDialog() const { return showDialog_; }
  int32_t lastAccepted() const { return lastAccepted_; }

  // OnSecondsChanged: the seconds box now holds `text`; runs the exchange,
  // whose check shows its message and may put the last accepted value back.
  Exchange OnSecondsChanged(std::string_view text);

  // SelectAction / SelectRate: the user picked list item `index` (-1 none).
  void SelectAction(int index);
  void SelectRate(int index);

  // OnShowDialogClicked: the box was clicked and is now `checked`: inverts
  // the flag, enables the seconds box exactly when it is set, takes the
  // values, shows the fixed Cyrillic hint and puts the values back. The wait
  // time itself does not change.
  void OnShowDialogClicked(bool checked);

  // OnGetUpdateNow: takes the values, shows the fixed Cyrillic hint, puts the
  // values back, and starts the downloader from the record's ZEPPDir (the one
  // loaded at start). A start that fails is reported on the prompt. Returns 0
  // or the start's Win32 code; the page stays as it is either way.
  uint32_t OnGetUpdateNow();

  // OnSetCursor: the pointer is over `control`; true when the hint changed.
  bool OnSetCursor(uint32_t control) { return hint_.OnSetCursor(control); }

  // OnDestroy: takes the values (with the check) and stores them into the
  // record: DefaultAction and DaysBetweenUpdate from the selected items'
  // data, SyncWaitTime, SyncShowDlg. A list without a selection leaves its
  // record value unchanged, so a stored value outside the list survives.
  void OnDestroy();

 private:
  // TakeValues: from the controls into the members, then the range check.
  Exchange TakeValues();
  // PutValues: from the members into the controls, with the range check.
  void PutValues();
  // CheckWaitTime: the range check; on failure the message and the last
  // accepted value back in the member and the box.
  Exchange CheckWaitTime();

  palmsettings::PalmSettings& record_;
  platform::Prompt& prompt_;
  int32_t waitTime_ = 6;
  uint32_t showDialog_ = 0;
  int32_t lastAccepted_ = kFirstAcceptedFallback;
  HintLine hint_;
  std::vector<ListItem> actionItems_;
  std::vector<ListItem> rateItems_;
  ConduitControls controls_;
};

// WaitTimeInRange: true for 1 to 60 seconds.
bool WaitTimeInRange(int32_t seconds);

}  // namespace configapp
