// Updating the virus base from the command line, with the Download dialog on the console.
#include "scanner/zepscan/UpdateCommand.h"

#include <chrono>
#include <cstdio>
#include <ostream>
#include <thread>

#include "platform/ConsolePrompt.h"
#include "platform/Errors.h"
#include "platform/StopSignal.h"
#include "platform/Terminal.h"
#include "platform/Text.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/updater/UpdaterMessages.h"
#include "scanner/zepscan/StopRequest.h"
#include "scanner/zepscan/ZepscanCommand.h"

namespace zepscan {
namespace {

// How often the loop looks for interrupts between the dialog's ticks.
constexpr auto kPoll = std::chrono::milliseconds(20);

}  // namespace

int32_t ConsoleDownload::RunDownloadDialog() {
  scanner::UpdaterState updater;
  updater.prompt = &prompt_;
  updater.pauseMs = pauseMs_;
  scanner::DownloadDialog dialog(updater, view_);
  dialog.OnInit();
  target_ = std::u16string(platform::FieldText(updater.basesFolder)) +
            std::u16string(platform::FieldText(updater.fileName));

  int pressed = 0;
  const auto tick = std::chrono::milliseconds(scanner::kDownloadTickMs);
  auto nextTick = std::chrono::steady_clock::now() + tick;
  while (!view_.closed()) {
    std::this_thread::sleep_for(kPoll);
    const int asked = interrupts_ ? interrupts_() : 0;
    if (asked >= 1 && pressed < 1) {
      pressed = 1;
      dialog.OnCancelButton();
    }
    if (asked >= 2 && pressed < 2) {
      pressed = 2;
      dialog.OnEscape();
    }
    if (std::chrono::steady_clock::now() >= nextTick) {
      dialog.OnTimer();
      nextTick += tick;
    }
  }
  return updater.result;
}

const char* DownloadResultText(int32_t result) {
  switch (result) {
    case scanner::kDownloadDone:
      return "the new base was downloaded, verified and put in place";
    case scanner::kDownloadNoInternet:
      return "the Internet handle could not be opened";
    case scanner::kDownloadFailed:
      return "no address gave a base file (none configured, not reachable, a page instead of "
             "the file, a broken transfer, or the file could not be written)";
    case scanner::kDownloadCancelled:
      return "cancelled";
    case scanner::kDownloadBadSignature:
      return "the downloaded base failed the signature check";
    default:
      return "unknown result";
  }
}

int RunUpdate(const UpdateOptions& options, std::ostream& out, std::ostream& err) {
  // The messages in the language the scanner shows them in.
  scanner::ScannerStrings().LoadLanguage(scanner::kScannerLanguageModule);
  platform::ConsolePrompt console(platform::ConsoleAnswers::DefaultButton, stdin, stderr);
  const ProgressLine line =
      platform::IsTerminal(platform::StandardStream::Error) ? ProgressLine::On : ProgressLine::Off;
  ConsoleDownloadView view(err, line);
  LineSafePrompt prompt(console, view);

  // The one-scan mark: a running scan refuses the update, as the scanner's
  // menu does, and no scan can start while the base is being replaced.
  StopRequest stop;
  if (const uint32_t created = stop.Create(); created == platform::ERROR_ALREADY_EXISTS) {
    scanner::ShowUpdaterMessage(prompt, scanner::kMsgScannerRunning);
    scanner::ScannerStrings().UnloadLanguage();
    return kExitError;
  } else if (created != 0) {
    err << "zepscan: the stop event cannot be created (" << created
        << "); only Ctrl-C cancels the update\n";
  }

  platform::CatchStopSignals();
  platform::IgnoreBrokenPipe();
  ConsoleDownload runner(view, prompt, options.pauseMs,
                         [&stop] { return platform::StopSignalCount() + (stop.Wait(0) ? 1 : 0); });
  const int32_t result = scanner::RunDownload(runner, prompt);
  scanner::ScannerStrings().UnloadLanguage();
  if (result == scanner::kDownloadDone) {
    out << "updated: " << platform::Utf16ToUtf8(runner.target()) << '\n' << std::flush;
    return kExitClean;
  }
  err << "zepscan: no update: " << DownloadResultText(result) << " (result " << result << ")\n";
  return kExitError;
}

}  // namespace zepscan
