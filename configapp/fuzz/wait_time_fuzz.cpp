// Fuzz target: text typed into the Conduit page's seconds box, through the integer and range
// checks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "configapp/ConduitPage.h"
#include "configapp/DialogInteger.h"
#include "palmsettings/PalmSettings.h"

namespace {

// Silent: answers every message with OK and keeps nothing.
class Silent final : public platform::Prompt {
 public:
  using platform::Prompt::Show;
  int Show(std::string_view, std::string_view, uint32_t) override { return platform::IDOK; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<int32_t> parsed = configapp::ParseDialogInteger(text);
  // A whole number prints back to the same number.
  if (parsed && configapp::ParseDialogInteger(std::to_string(*parsed)) != parsed) __builtin_trap();

  static palmsettings::PalmSettings record;
  Silent prompt;
  configapp::CConduitPage page(record, prompt);
  page.OnInitDialog();
  const configapp::Exchange result = page.OnSecondsChanged(text);
  // Whatever was typed, the page holds a wait time in range.
  if (!configapp::WaitTimeInRange(page.waitTime())) __builtin_trap();
  if (result == configapp::Exchange::Accepted && page.waitTime() != *parsed) __builtin_trap();
  if (result == configapp::Exchange::NotInteger && parsed) __builtin_trap();
  if (result != configapp::Exchange::NotInteger &&
      configapp::ParseDialogInteger(page.controls().seconds) != page.waitTime())
    __builtin_trap();
  return 0;
}
