// The report and actions page without a toolkit: its controls, their enabling and the apply step.
#pragma once

#include <string>
#include <string_view>

#include "platform/Prompt.h"
#include "scanner/scanrun/Scanner.h"

namespace scanner {

// Control numbers of the report and actions page.
enum ReportControl : int {
  kCtlCreateReport = 1011,
  kCtlAppendReport = 1020,
  kCtlReportEdit = 1012,
  kCtlOnVirusLabel = 1055,
  kCtlCopyToInfected = 1026,
  kCtlInfectedEdit = 1014,
  kCtlAskUser = 1041,
  kCtlDeleteInfected = 1038,
};

inline constexpr uint32_t kMsgCannotOpenReportFile = 95;
inline constexpr uint32_t kMsgInfectedPathInvalid = 105;

// FormInfectedPath: the Infected folder as stored: a backslash added before
// a text that starts with neither "\" nor "/", and after one that ends with
// neither. An empty text stays empty (it names no folder, rather than the
// device's root).
std::u16string FormInfectedPath(std::u16string_view text);

// ReportPage: what the page's controls hold.
struct ReportPage {
  bool createReport = false;
  bool append = false;
  std::u16string reportPath;
  bool copyToInfected = false;
  std::u16string infectedPath;
  bool askUser = false;
  bool deleteInfected = false;

  // Load: the controls from the scanner's flags and paths.
  void Load(const Scanner& scanner);

  // ReportControlsEnabled / InfectedEditEnabled: "Create report" enables the
  // report edit and "Append"; "Copy to Infected" enables its folder edit.
  bool ReportControlsEnabled() const { return createReport; }
  bool InfectedEditEnabled() const { return copyToInfected; }

  // Apply: stores the formed Infected path (the edit shows it); with "Copy
  // to Infected" checked creates the folder, and when that fails shows
  // message 105 and clears the box. Replaces flag bits 0x100-0x8000 (0x400
  // only when the folder exists). Then opens the report file for writing
  // without changing it: when its name is invalid, too long or its folder
  // does not exist shows message 95 and returns kApplyInvalid (the report
  // path stays as it was); otherwise stores the name and returns kApplied.
  int Apply(Scanner& scanner, platform::Prompt& prompt);
};

}  // namespace scanner
