// The texts of the scanner's small dialogs (detection, About) as their windows show them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scanner_dialogs {

// Message numbers of the dialogs' texts.
inline constexpr uint32_t kMsgAboutTitle = 1;
inline constexpr uint32_t kMsgVersionWord = 2;
inline constexpr uint32_t kMsgVersion = 7;
inline constexpr uint32_t kMsgMakerNotice = 8;
inline constexpr uint32_t kMsgWebAddress = 9;
inline constexpr uint32_t kMsgCopyBox = 33;
inline constexpr uint32_t kMsgDeleteBox = 35;

// Window titles, fixed in every language.
inline constexpr char16_t kDetectionTitle[] = u"Virus detected!";
inline constexpr char16_t kAboutTitle[] = u"About ZEPScanner";
inline constexpr char16_t kConfigureUpdaterTitle[] = u"Updater";

// Our own maker's lines, used where the table has none.
inline constexpr char16_t kOwnMakerNotice[] = u"Copyright \u00A9 Quillmark Lab";
inline constexpr char16_t kOwnWebAddress[] = u"https://quillmark.example/";

// DisplayText: a control text as a plain label shows it: every "&&" becomes
// one "&" (a single "&" is kept).
std::u16string DisplayText(std::u16string_view text);

// AboutLines: the About box's lines, top to bottom.
struct AboutLines {
  std::u16string title;    // message 1
  std::u16string version;  // "%s %s" of messages 2 and 7
  std::u16string notice;   // message 8, else our own notice
  std::u16string web;      // message 9, else our own address
};

// AboutText: the About box's lines from the scanner's string table.
AboutLines AboutText();

}  // namespace scanner_dialogs
