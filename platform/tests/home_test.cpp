// State paths with their run-time overrides, and the input panel's password-field sequence.
#include "platform/Home.h"

#include <gtest/gtest.h>

#include "platform/InputPanel.h"

namespace platform {
namespace {

TEST(Home, OverrideWinsOverTheEnvironmentUntilRemoved) {
  setenv("QM_TEST_STATE", "/from/env", 1);
  EXPECT_EQ(StatePath("QM_TEST_STATE", "x"), "/from/env");
  OverrideStatePath("QM_TEST_STATE", "/from/option");
  EXPECT_EQ(StatePath("QM_TEST_STATE", "x"), "/from/option");
  OverrideStatePath("QM_TEST_STATE", "");
  EXPECT_EQ(StatePath("QM_TEST_STATE", "x"), "/from/env");
  unsetenv("QM_TEST_STATE");
}

TEST(InputPanel, PasswordFieldSwitchesCompletionOffAndRestoresTheFlags) {
  SetInputPanelFlags(0x3);
  const uint32_t previous = PasswordFieldFocus();
  EXPECT_EQ(previous, 0x3u);
  EXPECT_EQ(InputPanelFlags(), 0x3u | kInputPanelNoCompletion);
  EXPECT_TRUE(InputPanelShown());
  PasswordFieldBlur(previous);
  EXPECT_EQ(InputPanelFlags(), 0x3u);
}

}  // namespace
}  // namespace platform
