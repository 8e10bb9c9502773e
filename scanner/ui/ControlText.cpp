// Numbered texts for the pages' controls.
#include "scanner/ui/ControlText.h"

#include "scanner/strings/ScannerStrings.h"

namespace scanner {

std::u16string ShownAmpersands(std::u16string_view text) {
  std::u16string shown;
  shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    shown += text[i];
    if (text[i] == u'&' && i + 1 < text.size() && text[i + 1] == u'&') ++i;
  }
  return shown;
}

std::u16string ControlText(uint32_t id) {
  return ShownAmpersands(ScannerText(id));
}

}  // namespace scanner
