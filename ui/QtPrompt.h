// Message boxes of the injected prompt shown as Qt message boxes.
#pragma once

#include "platform/Prompt.h"

namespace ui {

// QtPrompt: each message as a modal QMessageBox owned by the active window,
// with the icon and buttons of its MB_* flags; returns the ID* chosen. A
// call from another thread waits while the GUI thread shows the box.
class QtPrompt final : public platform::Prompt {
 public:
  using platform::Prompt::Show;
  int Show(std::string_view text, std::string_view caption, uint32_t flags) override;
};

}  // namespace ui
