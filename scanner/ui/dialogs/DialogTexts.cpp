// The texts of the detection and About dialogs from the scanner's string table.
#include "scanner/ui/dialogs/DialogTexts.h"

#include "scanner/strings/ScannerStrings.h"

namespace scanner_dialogs {
namespace {

// TextOr: a numbered text, or `fallback` when the table has none.
std::u16string TextOr(uint32_t id, std::u16string_view fallback) {
  std::u16string text = scanner::ScannerText(id);
  return text.empty() ? std::u16string(fallback) : text;
}

}  // namespace

std::u16string DisplayText(std::u16string_view text) {
  std::u16string shown;
  shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    shown.push_back(text[i]);
    if (text[i] == u'&' && i + 1 < text.size() && text[i + 1] == u'&') ++i;
  }
  return shown;
}

AboutLines AboutText() {
  AboutLines lines;
  lines.title = scanner::ScannerText(kMsgAboutTitle);
  // "%s %s": the word, one blank, the number.
  lines.version = scanner::ScannerText(kMsgVersionWord) + u" " + scanner::ScannerText(kMsgVersion);
  lines.notice = TextOr(kMsgMakerNotice, kOwnMakerNotice);
  lines.web = TextOr(kMsgWebAddress, kOwnWebAddress);
  return lines;
}

}  // namespace scanner_dialogs
