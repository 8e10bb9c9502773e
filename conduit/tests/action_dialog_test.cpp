// The settings dialog's logic: what it shows of the argument record and what it writes back.
#include <gtest/gtest.h>

#include <cstring>

#include "conduit/dialogs/ActionDialog.h"
#include "palmsettings/PalmSettings.h"

namespace conduit {
namespace {

using D = ActionDialog;

CfgConduitRecord Arguments(const char* user, int32_t defaultType, int32_t nextType) {
  CfgConduitRecord arguments{};
  arguments.version = kCfgConduitVersion;
  std::strncpy(arguments.userName, user, sizeof arguments.userName - 1);
  arguments.defaultSyncType = defaultType;
  arguments.nextSyncType = nextType;
  arguments.chosenSyncType = -7;  // sentinels: only OK writes these
  arguments.defaultFlag = -7;
  return arguments;
}

TEST(ActionDialog, ShowsTheUsersSettingsAndTheTemplateTextsWithoutALanguageLibrary) {
  palmsettings::PalmSettings record;
  CfgConduitRecord arguments = Arguments("Ada", 6, 0);
  D dialog(record, arguments);
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Text(D::kSettingsGroup), "Ada's Current Settings:");
  EXPECT_EQ(dialog.Text(D::kDefaultLabel), "Default HotSync Action");
  EXPECT_EQ(dialog.Text(D::kNextLabel), "Next HotSync Action");
  EXPECT_EQ(dialog.Text(D::kUpdateRadio), "Update Quillmark AV for PalmOS");
  EXPECT_EQ(dialog.Text(D::kNothingRadio), "Do Nothing");
  EXPECT_EQ(dialog.Text(D::kSetAsDefault), "Set as default");
  EXPECT_EQ(dialog.Text(D::kCancel), "Cancel");
  // 514 and 515 live only in a language library.
  EXPECT_EQ(dialog.Text(D::kActionGroup), "HotSync Action for ZEPPalm");
  EXPECT_EQ(dialog.Text(D::kCaption), "Change HotSync Action");
  EXPECT_EQ(dialog.Text(D::kDefaultField), "Do Nothing");
  EXPECT_EQ(dialog.Text(D::kNextField), "Update Quillmark AV for PalmOS");
  EXPECT_EQ(dialog.selectedRadio(), D::kUpdateRadio);
  EXPECT_FALSE(dialog.setAsDefault());
}

TEST(ActionDialog, NextDoNothingIsShownAndOkWithoutChangeKeepsIt) {
  palmsettings::PalmSettings record;
  CfgConduitRecord arguments = Arguments("Ada", 0, 6);
  D dialog(record, arguments);
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Text(D::kDefaultField), "Update Quillmark AV for PalmOS");
  EXPECT_EQ(dialog.Text(D::kNextField), "Do Nothing");
  EXPECT_EQ(dialog.selectedRadio(), D::kNothingRadio);
  dialog.OnOk();
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
  EXPECT_EQ(arguments.chosenSyncType, 6);
  EXPECT_EQ(arguments.defaultFlag, kChoiceNextOnly);
}

TEST(ActionDialog, UpdateSetAsDefaultWritesThreeAndOne) {
  palmsettings::PalmSettings record;
  CfgConduitRecord arguments = Arguments("Ada", 6, 6);
  D dialog(record, arguments);
  dialog.OnInitDialog();
  dialog.OnRadio(D::kUpdateRadio);
  dialog.OnSetAsDefault(true);
  dialog.OnOk();
  EXPECT_EQ(arguments.chosenSyncType, 3);
  EXPECT_EQ(arguments.defaultFlag, kChoiceIsDefault);
  // What the dialog does not own stays as the caller left it.
  EXPECT_EQ(arguments.defaultSyncType, 6);
  EXPECT_EQ(arguments.nextSyncType, 6);
}

TEST(ActionDialog, CancelWritesNothing) {
  palmsettings::PalmSettings record;
  CfgConduitRecord arguments = Arguments("Ada", 0, 0);
  D dialog(record, arguments);
  dialog.OnInitDialog();
  dialog.OnRadio(D::kNothingRadio);
  dialog.OnSetAsDefault(true);
  dialog.OnCancel();
  EXPECT_EQ(dialog.end(), DialogEnd::Cancel);
  EXPECT_EQ(arguments.chosenSyncType, -7);
  EXPECT_EQ(arguments.defaultFlag, -7);
}

TEST(ActionDialog, AnUnterminatedUserNameEndsAtItsField) {
  palmsettings::PalmSettings record;
  CfgConduitRecord arguments = Arguments("", 0, 0);
  std::memset(arguments.userName, 'u', sizeof arguments.userName);
  EXPECT_EQ(UserName(arguments).size(), sizeof arguments.userName);
  D dialog(record, arguments);
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Text(D::kSettingsGroup),
            std::string(sizeof arguments.userName, 'u') + "'s Current Settings:");
}

}  // namespace
}  // namespace conduit
