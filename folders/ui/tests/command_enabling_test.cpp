// The enabling tables of the menu bar and the row context menu.
#include <gtest/gtest.h>

#include "folders/ui/CommandEnabling.h"

namespace folders {
namespace {

// Fields in the table's order: Delete, Mount, Unmount, Properties, Change password.
CommandEnabling Row(bool remove, bool mount, bool unmount, bool properties, bool password) {
  return CommandEnabling{remove, mount, unmount, properties, password};
}

TEST(CommandEnabling, MenuFollowsTheTableForEveryState) {
  EXPECT_EQ(MenuEnabling(std::nullopt), Row(false, false, false, false, false));
  EXPECT_EQ(MenuEnabling(VolumeState::NotMounted), Row(true, true, false, true, true));
  EXPECT_EQ(MenuEnabling(VolumeState::Mounted), Row(false, false, true, true, false));
  EXPECT_EQ(MenuEnabling(VolumeState::Missing), Row(true, false, false, false, false));
}

TEST(CommandEnabling, ContextMenuTurnsOffOnlyTheNamedCommands) {
  EXPECT_EQ(RowContextEnabling(VolumeState::NotMounted), Row(true, true, false, true, true));
  EXPECT_EQ(RowContextEnabling(VolumeState::Mounted), Row(false, false, true, true, false));
  EXPECT_EQ(RowContextEnabling(VolumeState::Missing), Row(true, false, false, true, true));
}

}  // namespace
}  // namespace folders
