// The sync-time dialog's texts, handheld base, countdown and choice.
#include "conduit/dialogs/SyncActionDialog.h"

#include <utility>

#include "conduit/dialogs/ConduitStrings.h"
#include "platform/Text.h"

namespace conduit {

namespace {

// Field: the text as a buffer of SyncActionDialog::kFieldSize holds it.
std::string Field(std::string_view text) {
  char field[SyncActionDialog::kFieldSize];
  return std::string(field, platform::CopyToField(field, text));
}

}  // namespace

SyncActionDialog::SyncActionDialog(const palmsettings::PalmSettings& record,
                                   HandheldBaseReader reader)
    : record_(record), reader_(std::move(reader)) {}

void SyncActionDialog::OnInitDialog() {
  caption_ = ConduitText(record_, kIdsUpdaterCaption);
  baseGroup_ = ConduitText(record_, kIdsBaseGroup);
  countLabel_ = ConduitText(record_, kIdsKnownViruses);
  dateLabel_ = ConduitText(record_, kIdsLastUpdate);
  actionGroup_ = ConduitText(record_, kIdsGetUpdate);
  schedule_ = ConduitText(record_, kIdsOnSchedule);
  now_ = ConduitText(record_, kIdsNow);
  cancel_ = ConduitText(record_, kIdsCancel);

  std::string date;
  uint32_t stamp = 0;
  count_ = reader_ ? reader_(stamp, &date) : -1;
  if (count_ < 0) {
    count_ = -1;  // any failure reads as "cannot be opened"
  } else {
    stamp_ = stamp;
    dateText_ = Field(date);
  }
  countText_ = Field(std::to_string(count_));
  countdown_.Start(record_.SyncWaitTime);
}

void SyncActionDialog::OnTimer() {
  if (countdown_.Tick()) end_ = DialogEnd::Ok;
}

void SyncActionDialog::OnRadio(uint32_t control) {
  if (control == kNowRadio)
    action_ = kActionNow;
  else if (control == kScheduleRadio)
    action_ = kActionOnSchedule;
  else
    return;
  countdown_.Stop();
}

void SyncActionDialog::OnCancel() {
  action_ = kActionCancelled;
  end_ = DialogEnd::Cancel;
}

uint32_t SyncActionDialog::selectedRadio() const {
  if (action_ == kActionNow) return kNowRadio;
  if (action_ == kActionOnSchedule) return kScheduleRadio;
  return 0;
}

std::string SyncActionDialog::Text(uint32_t control) const {
  switch (control) {
    case kCaption:
      return caption_;
    case kOk:
      return countdown_.ButtonText();
    case kCancel:
      return cancel_;
    case kCountField:
      return countText_;
    case kDateField:
      return dateText_;
    case kBaseGroup:
      return baseGroup_;
    case kActionGroup:
      return actionGroup_;
    case kCountLabel:
      return countLabel_;
    case kDateLabel:
      return dateLabel_;
    case kNowRadio:
      return now_;
    case kScheduleRadio:
      return schedule_;
    default:
      return {};
  }
}

}  // namespace conduit
