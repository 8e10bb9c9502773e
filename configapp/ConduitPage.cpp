// The Conduit page: lists, the wait-time check at every exchange, the show-dialog box, and what it
// stores.
#include "configapp/ConduitPage.h"

#include <iterator>

#include "configapp/ControlIds.h"
#include "configapp/DialogInteger.h"
#include "configapp/SetdeskStrings.h"
#include "configapp/StartUpdate.h"

namespace configapp {
namespace {

constexpr uint32_t kRateStrings[] = {kIdsRateDaily, kIdsRateWeekly, kIdsRateTwoWeeks,
                                     kIdsRateMonthly, kIdsRateTwoMonths};
static_assert(std::size(kRateStrings) == std::size(kRateDays));
constexpr uint32_t kActionStrings[] = {kIdsActionNothing, kIdsActionNow, kIdsActionLater};

// IndexOf: the index of the item carrying `data`, -1 when none does.
int IndexOf(const std::vector<ListItem>& items, uint32_t data) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].data == data) return static_cast<int>(i);
  return -1;
}

// Selected: the selected item, null for no selection (or one past the end).
const ListItem* Selected(const std::vector<ListItem>& items, int index) {
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return nullptr;
  return &items[static_cast<size_t>(index)];
}

}  // namespace

bool WaitTimeInRange(int32_t seconds) {
  return seconds >= kWaitTimeMinimum && seconds <= kWaitTimeMaximum;
}

CConduitPage::CConduitPage(palmsettings::PalmSettings& record, platform::Prompt& prompt)
    : record_(record), prompt_(prompt), hint_(record, SetdeskPage::Conduit) {}

void CConduitPage::OnInitDialog() {
  rateItems_.clear();
  for (size_t i = 0; i < std::size(kRateStrings); ++i)
    rateItems_.push_back({SetdeskText(record_, kRateStrings[i]), kRateDays[i]});
  actionItems_.clear();
  for (size_t i = 0; i < std::size(kActionStrings); ++i)
    actionItems_.push_back({SetdeskText(record_, kActionStrings[i]), static_cast<uint32_t>(i)});

  waitTime_ = record_.SyncWaitTime;
  showDialog_ = record_.SyncShowDlg;
  lastAccepted_ = WaitTimeInRange(waitTime_) ? waitTime_ : kFirstAcceptedFallback;
  controls_.secondsEnabled = showDialog_ != 0;
  controls_.actionSelection = IndexOf(actionItems_, record_.DefaultAction);
  controls_.rateSelection = IndexOf(rateItems_, static_cast<uint32_t>(record_.DaysBetweenUpdate));
  PutValues();
}

std::string CConduitPage::Text(uint32_t control) const {
  switch (control) {
    case kIdConduitGroup:
      return SetdeskText(record_, kIdsConduitGroup);
    case kIdActionLabel:
      return SetdeskText(record_, kIdsActionLabel);
    case kIdRateLabel:
      return SetdeskText(record_, kIdsRateLabel);
    case kIdShowDialog:
      return SetdeskText(record_, kIdsShowDialog);
    case kIdSecondsLabel:
      return SetdeskText(record_, kIdsSeconds);
    case kIdGetUpdateNow:
      return SetdeskText(record_, kIdsGetUpdateNow);
    default:
      return {};
  }
}

Exchange CConduitPage::OnSecondsChanged(std::string_view text) {
  controls_.seconds = text;
  return TakeValues();
}

void CConduitPage::SelectAction(int index) {
  controls_.actionSelection = Selected(actionItems_, index) ? index : -1;
}

void CConduitPage::SelectRate(int index) {
  controls_.rateSelection = Selected(rateItems_, index) ? index : -1;
}

void CConduitPage::OnShowDialogClicked(bool checked) {
  controls_.showDialog = checked;
  showDialog_ = showDialog_ != 0 ? 0 : 1;
  controls_.secondsEnabled = showDialog_ != 0;
  TakeValues();
  hint_.Set(kShowDialogClickedHint);
  PutValues();
}

uint32_t CConduitPage::OnGetUpdateNow() {
  TakeValues();
  hint_.Set(kGetUpdateNowHint);
  PutValues();
  const uint32_t code = StartUpdate(record_);
  if (code != 0) ReportStartFailure(prompt_, code);
  return code;
}

void CConduitPage::OnDestroy() {
  TakeValues();
  if (const ListItem* action = Selected(actionItems_, controls_.actionSelection))
    record_.DefaultAction = action->data;
  if (const ListItem* rate = Selected(rateItems_, controls_.rateSelection))
    record_.DaysBetweenUpdate = static_cast<int32_t>(rate->data);
  record_.SyncWaitTime = waitTime_;
  record_.SyncShowDlg = showDialog_;
}

Exchange CConduitPage::TakeValues() {
  // The box first: a seconds text that is refused must not lose the flag.
  showDialog_ = controls_.showDialog ? 1 : 0;
  const std::optional<int32_t> seconds = ParseDialogInteger(controls_.seconds);
  if (!seconds) {
    prompt_.Show(kNotIntegerText, SetdeskText(record_, kIdsCaption),
                 platform::MB_OK | platform::MB_ICONWARNING);
    return Exchange::NotInteger;
  }
  waitTime_ = *seconds;
  return CheckWaitTime();
}

void CConduitPage::PutValues() {
  controls_.seconds = std::to_string(waitTime_);
  controls_.showDialog = showDialog_ != 0;
  CheckWaitTime();
}

Exchange CConduitPage::CheckWaitTime() {
  if (WaitTimeInRange(waitTime_)) {
    lastAccepted_ = waitTime_;
    return Exchange::Accepted;
  }
  prompt_.Show(SetdeskText(record_, kIdsWaitTimeRange), SetdeskText(record_, kIdsCaption),
               platform::MB_OK | platform::MB_ICONERROR);
  waitTime_ = lastAccepted_;
  controls_.seconds = std::to_string(lastAccepted_);
  return Exchange::OutOfRange;
}

}  // namespace configapp
