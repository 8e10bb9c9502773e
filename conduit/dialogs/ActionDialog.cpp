// The settings dialog's texts, its choice and what it writes back.
#include "conduit/dialogs/ActionDialog.h"

#include "conduit/dialogs/ConduitStrings.h"

namespace conduit {

ActionDialog::ActionDialog(const palmsettings::PalmSettings& record, CfgConduitRecord& arguments)
    : record_(record), arguments_(arguments) {}

void ActionDialog::OnInitDialog() {
  settingsGroup_ = std::string(UserName(arguments_)) + ConduitText(record_, kIdsCurrentSettings);
  defaultLabel_ = ConduitText(record_, kIdsDefaultAction);
  nextLabel_ = ConduitText(record_, kIdsNextAction);
  update_ = ConduitText(record_, kIdsUpdateAction);
  nothing_ = ConduitText(record_, kIdsDoNothing);
  setAsDefaultText_ = ConduitText(record_, kIdsSetAsDefault);
  cancel_ = ConduitText(record_, kIdsCancel);
  actionGroup_ = ConduitTextOr(record_, kIdsActionGroup, kActionGroupTemplateText);
  caption_ = ConduitTextOr(record_, kIdsActionCaption, kActionCaptionTemplateText);

  defaultAction_ = arguments_.defaultSyncType == kSyncTypeDoNothing ? nothing_ : update_;
  if (arguments_.nextSyncType != kSyncTypeDoNothing) {
    nextAction_ = update_;
    selected_ = kUpdateRadio;
  } else {
    nextAction_ = nothing_;
    selected_ = kNothingRadio;
  }
}

void ActionDialog::OnRadio(uint32_t control) {
  if (control == kUpdateRadio || control == kNothingRadio) selected_ = control;
}

void ActionDialog::OnOk() {
  arguments_.chosenSyncType = selected_ == kUpdateRadio ? kChosenUpdate : kSyncTypeDoNothing;
  arguments_.defaultFlag = setAsDefault_ ? kChoiceIsDefault : kChoiceNextOnly;
  end_ = DialogEnd::Ok;
}

std::string ActionDialog::Text(uint32_t control) const {
  switch (control) {
    case kCaption:
      return caption_;
    case kOk:
      return "OK";
    case kCancel:
      return cancel_;
    case kDefaultField:
      return defaultAction_;
    case kNextField:
      return nextAction_;
    case kSettingsGroup:
      return settingsGroup_;
    case kUpdateRadio:
      return update_;
    case kNothingRadio:
      return nothing_;
    case kDefaultLabel:
      return defaultLabel_;
    case kNextLabel:
      return nextLabel_;
    case kActionGroup:
      return actionGroup_;
    case kSetAsDefault:
      return setAsDefaultText_;
    default:
      return {};
  }
}

}  // namespace conduit
