// Detection dialog answers for the command line.
#include "scanner/zepscan/ConsoleDetectionDialog.h"

#include <ostream>
#include <string>
#include <utility>

#include "platform/Text.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/zepscan/ConsoleScanView.h"

namespace zepscan {
namespace {

// Texts of the dialog: its title and its two check boxes.
constexpr char kDialogTitle[] = "Virus detected!";
constexpr uint32_t kMsgCopyBox = 33;
constexpr uint32_t kMsgDeleteBox = 35;

// OneLine: a dialog text with its line breaks as blanks.
std::string OneLine(std::u16string_view text) {
  std::string line = platform::Utf16ToUtf8(text);
  for (char& c : line)
    if (c == '\n') c = ' ';
  return line;
}

// ControlText: a check box's text as a control shows it ("&&" is one "&").
std::u16string ControlText(uint32_t id) {
  std::u16string text = scanner::ScannerText(id);
  for (size_t at = text.find(u"&&"); at != std::u16string::npos; at = text.find(u"&&", at + 1))
    text.erase(at, 1);
  return text;
}

}  // namespace

std::optional<VirusAnswer> ParseVirusAnswer(std::string_view word) {
  if (word == "ask") return VirusAnswer::Ask;
  if (word == "report") return VirusAnswer::Report;
  if (word == "copy") return VirusAnswer::Copy;
  if (word == "delete") return VirusAnswer::Delete;
  if (word == "copy+delete") return VirusAnswer::CopyAndDelete;
  return std::nullopt;
}

ConsoleDetectionDialog::ConsoleDetectionDialog(VirusAnswer answer, LineSource lines,
                                               std::ostream& messages, ConsoleScanView* view)
    : answer_(answer), lines_(std::move(lines)), messages_(messages), view_(view) {}

bool ConsoleDetectionDialog::Show(std::u16string_view objectLabel, std::u16string_view objectText,
                                  std::u16string_view virusLabel, std::u16string_view virusText,
                                  std::u16string_view description, bool& copy, bool& del) {
  if (view_) view_->ClearProgress();
  messages_ << kDialogTitle << ": " << OneLine(scanner::ScannerText(scanner::kMsgDetected)) << '\n'
            << "  " << OneLine(objectLabel) << ' ' << OneLine(objectText) << '\n'
            << "  " << OneLine(virusLabel) << ' ' << OneLine(virusText) << '\n';
  if (!description.empty()) messages_ << "  " << OneLine(description) << '\n';
  messages_.flush();
  switch (answer_) {
    case VirusAnswer::Report:
      copy = del = false;
      return true;
    case VirusAnswer::Copy:
      copy = true;
      del = false;
      return true;
    case VirusAnswer::Delete:
      copy = false;
      del = true;
      return true;
    case VirusAnswer::CopyAndDelete:
      copy = del = true;
      return true;
    case VirusAnswer::Unanswered:
      return false;
    case VirusAnswer::Ask:
      break;
  }
  const std::optional<bool> copyBox = AskBox(ControlText(kMsgCopyBox), copy);
  if (!copyBox) return false;
  const std::optional<bool> deleteBox = AskBox(ControlText(kMsgDeleteBox), del);
  if (!deleteBox) return false;
  copy = *copyBox;
  del = *deleteBox;
  return true;
}

std::optional<bool> ConsoleDetectionDialog::AskBox(std::u16string_view label, bool preset) {
  for (;;) {
    messages_ << "  " << OneLine(label) << "? [Yes/No] (" << (preset ? "Yes" : "No")
              << "): " << std::flush;
    const std::optional<std::string> line = lines_ ? lines_() : std::nullopt;
    if (!line) {
      messages_ << '\n' << std::flush;
      return std::nullopt;
    }
    const std::string reply = platform::ToLower(platform::Trim(*line));
    if (reply.empty()) return preset;
    if (std::string("yes").starts_with(reply)) return true;
    if (std::string("no").starts_with(reply)) return false;
  }
}

}  // namespace zepscan
