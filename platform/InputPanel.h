// The on-screen input panel: raised for text entry, word completion off in password fields.
#pragma once

#include <cstdint>

namespace platform {

// kInputPanelNoCompletion: the flag that switches the panel's word completion off.
inline constexpr uint32_t kInputPanelNoCompletion = 8;

// InputPanelFlags / SetInputPanelFlags: the panel's option flags. The host
// has no handheld input panel, so the flags are only kept for this process;
// callers still follow the handheld's sequence so the behaviour stays visible.
uint32_t InputPanelFlags();
void SetInputPanelFlags(uint32_t flags);

// ShowInputPanel: raises (true) or lowers the panel; a no-op on the host
// apart from remembering the state for InputPanelShown.
void ShowInputPanel(bool up);
bool InputPanelShown();

// PasswordFieldFocus: a password field got the focus: adds the no-completion
// flag, lowers and raises the panel to apply it, and returns the flags as
// they were, for PasswordFieldBlur.
uint32_t PasswordFieldFocus();

// PasswordFieldBlur: the field lost the focus: restores the earlier flags
// and applies them the same way.
void PasswordFieldBlur(uint32_t previousFlags);

}  // namespace platform
