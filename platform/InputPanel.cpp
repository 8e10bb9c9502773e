// The input panel's state kept for this process, since the host has no such panel.
#include "platform/InputPanel.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<uint32_t> gFlags{0};
std::atomic<bool> gShown{false};

void ApplyFlags() {
  ShowInputPanel(false);
  ShowInputPanel(true);
}

}  // namespace

uint32_t InputPanelFlags() {
  return gFlags.load();
}

void SetInputPanelFlags(uint32_t flags) {
  gFlags.store(flags);
}

void ShowInputPanel(bool up) {
  gShown.store(up);
}

bool InputPanelShown() {
  return gShown.load();
}

uint32_t PasswordFieldFocus() {
  const uint32_t previous = gFlags.fetch_or(kInputPanelNoCompletion);
  ApplyFlags();
  return previous;
}

void PasswordFieldBlur(uint32_t previousFlags) {
  gFlags.store(previousFlags);
  ApplyFlags();
}

}  // namespace platform
