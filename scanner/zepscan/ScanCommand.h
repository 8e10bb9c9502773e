// One scan from the command line: start-up, the run, its rows, summary and report.
#pragma once

#include <iosfwd>
#include <optional>

#include "platform/ConsolePrompt.h"
#include "scanner/virusbase/MatchEngine.h"
#include "scanner/zepscan/ConsoleDetectionDialog.h"

namespace zepscan {

// ScanOptions: the answers a scan gives to its questions.
struct ScanOptions {
  platform::ConsoleAnswers questions = platform::ConsoleAnswers::AlwaysNo;  // yes/no questions
  std::optional<VirusAnswer> onVirus;          // none: the configured actions apply
  std::optional<scanner::MatchEngine> engine;  // none: the build's default
};

// RunScan: the program's start-up, then one scan with the stored settings,
// waited for on this thread. SIGINT, SIGTERM and `zepscan stop` stop it (the
// report is still written). With onVirus every detection is answered so for
// this run only; without it the dialog is shown only when Ask User is
// configured, asking on a terminal and otherwise closing without an answer,
// so that the configured actions apply. The program's end saves the
// settings as start-up left them. Returns kExitClean, kExitInfected (also
// after errors or a stop), or kExitError when another zepscan scan runs
// under the same home (nothing is started), start-up ended the program, the
// scan did not start, or a stop cut short a scan that had found nothing.
int RunScan(const ScanOptions& options, std::ostream& out, std::ostream& err);

}  // namespace zepscan
