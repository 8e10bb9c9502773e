// The detection dialog on a console: answered by an option or read from the input.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "scanner/scanrun/DetectionDialog.h"

namespace zepscan {

class ConsoleScanView;

// VirusAnswer: the answer to every detection dialog of a run (--on-virus).
// Unanswered is for a run with no one to ask: the dialog closes without OK,
// as with the escape key, so the configured actions apply.
enum class VirusAnswer { Ask, Report, Copy, Delete, CopyAndDelete, Unanswered };

// ParseVirusAnswer: "ask", "report", "copy", "delete" or "copy+delete";
// nullopt for another word.
std::optional<VirusAnswer> ParseVirusAnswer(std::string_view word);

// LineSource: the next line typed, without its line end; nullopt when there
// is none (end of input, an interrupted read).
using LineSource = std::function<std::optional<std::string>()>;

// ConsoleDetectionDialog: prints the detection (labels, texts, description)
// to `messages` and closes with OK: with the boxes the answer names, or, for
// VirusAnswer::Ask, with the boxes taken from lines of `lines` as yes/no
// answers (an empty line keeps the box's preset). No line, and
// VirusAnswer::Unanswered, close it the other way (escape), which keeps the
// configured actions. The view, when given, has its progress line erased
// first. Stream and view are borrowed.
class ConsoleDetectionDialog : public scanner::DetectionDialog {
 public:
  ConsoleDetectionDialog(VirusAnswer answer, LineSource lines, std::ostream& messages,
                         ConsoleScanView* view = nullptr);

  bool Show(std::u16string_view objectLabel, std::u16string_view objectText,
            std::u16string_view virusLabel, std::u16string_view virusText,
            std::u16string_view description, bool& copy, bool& del) override;

 private:
  // AskBox: reads one yes/no answer for a box; nullopt when no line comes.
  std::optional<bool> AskBox(std::u16string_view label, bool preset);

  VirusAnswer answer_;
  LineSource lines_;
  std::ostream& messages_;
  ConsoleScanView* view_;
};

}  // namespace zepscan
