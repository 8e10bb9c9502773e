// The settings dialog that CfgConduit shows (template 101), without a toolkit.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/dialogs/CfgConduitRecord.h"
#include "conduit/dialogs/DialogEnd.h"
#include "palmsettings/PalmSettings.h"

namespace conduit {

// ActionDialog: the next synchronisation's action for one HotSync user: the
// current default and next actions, a choice between "update" and "do
// nothing", and whether the choice becomes the default. The view shows
// Text() of each control, the selected radio button and the check box after
// every call, and closes once end() is no longer Open. The record and the
// argument record must outlive it; the argument record is written on OK
// only.
class ActionDialog {
 public:
  static constexpr uint32_t kOk = 1;
  static constexpr uint32_t kCancel = 2;
  static constexpr uint32_t kCaption = 0;  // the window's caption
  static constexpr uint32_t kUpdatePicture = 1001;
  static constexpr uint32_t kNothingPicture = 1003;
  static constexpr uint32_t kDefaultField = 1004;
  static constexpr uint32_t kNextField = 1005;
  static constexpr uint32_t kSettingsGroup = 1006;
  static constexpr uint32_t kUpdateRadio = 1007;
  static constexpr uint32_t kNothingRadio = 1008;
  static constexpr uint32_t kDefaultLabel = 1029;
  static constexpr uint32_t kNextLabel = 1030;
  static constexpr uint32_t kActionGroup = 1031;
  static constexpr uint32_t kSetAsDefault = 1032;
  // Bitmaps of the two pictures.
  static constexpr uint32_t kUpdateBitmap = 104;
  static constexpr uint32_t kNothingBitmap = 106;

  ActionDialog(const palmsettings::PalmSettings& record, CfgConduitRecord& arguments);

  // OnInitDialog: sets the texts (1006 ← the user name and 513, 1029 ← 507,
  // 1030 ← 508, 1007 ← 509, 1008 ← 510, 1032 ← 511, Cancel ← 201, 1031 ←
  // 514, the caption ← 515; the last two show the template's texts unless a
  // language library has them), shows the default action (510 for sync type
  // 6, else 509) and the next one, and selects the radio button of the next.
  void OnInitDialog();
  // OnRadio: 1007 or 1008 was clicked and is now the selected one.
  void OnRadio(uint32_t control);
  // OnSetAsDefault: the check box now reads `checked`.
  void OnSetAsDefault(bool checked) { setAsDefault_ = checked; }
  // OnOk: writes the chosen sync type (3 for 1007, 6 for 1008) and the
  // default flag (1 when ticked, else 2) into the argument record; closes.
  void OnOk();
  // OnCancel: closes and writes nothing.
  void OnCancel() { end_ = DialogEnd::Cancel; }

  // Text: the text of a control (kCaption for the caption); empty for one
  // without a text.
  std::string Text(uint32_t control) const;
  uint32_t selectedRadio() const { return selected_; }
  bool setAsDefault() const { return setAsDefault_; }
  DialogEnd end() const { return end_; }

 private:
  const palmsettings::PalmSettings& record_;
  CfgConduitRecord& arguments_;
  uint32_t selected_ = 0;
  bool setAsDefault_ = false;
  DialogEnd end_ = DialogEnd::Open;
  std::string caption_, settingsGroup_, defaultLabel_, nextLabel_, update_, nothing_,
      setAsDefaultText_, cancel_, actionGroup_, defaultAction_, nextAction_;
};

}  // namespace conduit
