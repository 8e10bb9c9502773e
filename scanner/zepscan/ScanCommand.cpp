// The scan command: the shared start-up, a headless run and the program's end.
#include "scanner/zepscan/ScanCommand.h"

#include <cstdio>
#include <ostream>

#include "platform/Errors.h"
#include "platform/StopSignal.h"
#include "platform/Terminal.h"
#include "scanner/scanrun/ResultList.h"
#include "scanner/scanrun/ScanRun.h"
#include "scanner/startup/ScannerApp.h"
#include "scanner/zepscan/ConsoleFrontEnd.h"
#include "scanner/zepscan/ConsoleScanView.h"
#include "scanner/zepscan/MainThreadInput.h"
#include "scanner/zepscan/StopRequest.h"
#include "scanner/zepscan/ZepscanCommand.h"

namespace zepscan {
namespace {

// How often the waiting thread looks for a stop signal between waits on the
// stop event.
constexpr uint32_t kStopPollMs = 50;

// WaitForRun: waits until the worker has ended, reading the lines its
// questions ask for; a stop signal or a stop request from another process
// stops the run (a question then goes unanswered). Returns true when it was
// stopped that way.
bool WaitForRun(scanner::Scanner& scanner, const StopRequest& stop, MainThreadInput& input) {
  bool stopped = false;
  while (!scanner.workerEnded) {
    input.Serve();
    if (stop.Wait(kStopPollMs) || platform::StopSignalled()) {
      input.Cancel();
      stopped = scanner::StopScan(scanner) == 1;
      break;
    }
  }
  scanner::JoinWorker(scanner);
  return stopped;
}

const char* StartFailure(scanner::StartResult result) {
  switch (result) {
    case scanner::StartResult::kNoVirusKnown:
      return "the virus base knows no virus; nothing to scan";
    case scanner::StartResult::kNoWindow:
      return "the front-end could not start";
    default:
      return nullptr;  // the start-up has shown its message
  }
}

}  // namespace

int RunScan(const ScanOptions& options, std::ostream& out, std::ostream& err) {
  scanner::ScannerApp app;
  scanner::ResultList list;
  const ProgressLine line =
      platform::IsTerminal(platform::StandardStream::Error) ? ProgressLine::On : ProgressLine::Off;
  ConsoleScanView view(app.scanner, list, out, err, line);
  platform::ConsolePrompt console(options.questions, stdin, stderr);
  ProgressSafePrompt prompt(console, view);
  ConsoleFrontEnd frontEnd(err);

  // The stop event is taken before the start-up: it marks this process as
  // the one scan under this home, so that `settings --set` is refused from
  // here on (the program's end saves over it), and so that a second scan
  // cannot share the pause and stop events or clear a stop meant for this one.
  StopRequest stop;
  if (const uint32_t created = stop.Create(); created == platform::ERROR_ALREADY_EXISTS) {
    err << "zepscan: a scan is already running\n";
    return kExitError;
  } else if (created != 0) {
    err << "zepscan: the stop event cannot be created (" << created
        << "); only signals stop this scan\n";
  }

  // Chosen before the start-up loads the base, which builds the index for it.
  if (options.engine) app.base.engine = *options.engine;
  const scanner::StartResult started = scanner::InitInstance(app, frontEnd, prompt);
  if (started != scanner::StartResult::kStarted) {
    if (const char* why = StartFailure(started)) err << "zepscan: " << why << '\n';
    scanner::ExitInstance(app);
    return kExitError;
  }

  // The dialog answers only what the run asks; an --on-virus answer makes the
  // run ask for this run alone, and the stored flags are put back before the
  // program's end saves them.
  const bool configuredAsk = (app.scanner.flags & scanner::kAskUser) != 0;
  const bool inputIsTerminal = platform::IsTerminal(platform::StandardStream::Input);
  const VirusAnswer answer =
      options.onVirus.value_or(inputIsTerminal ? VirusAnswer::Ask : VirusAnswer::Unanswered);
  MainThreadInput input(stdin);
  ConsoleDetectionDialog dialog(
      answer, [&input] { return input.ReadLine(); }, err, &view);
  if (options.onVirus) app.scanner.flags |= scanner::kAskUser;
  app.scanner.detectionDialog = &dialog;
  app.scanner.notifyWindow = &view;
  app.scanner.statusWindow = &view;
  app.scanner.resultList = &list;

  platform::CatchStopSignals();
  // A reader that goes away (a pager closed early) must not cut the run
  // short before the report is written and the settings saved.
  platform::IgnoreBrokenPipe();

  int status = kExitError;
  if (scanner::StartScan(app.scanner) != 0) {
    err << "zepscan: the scan did not start\n";
  } else {
    const bool stopped = WaitForRun(app.scanner, stop, input);
    view.PrintSummary();
    if (app.scanner.virusesFound > 0)
      status = kExitInfected;
    else
      status = stopped ? kExitError : kExitClean;
  }

  if (!configuredAsk) app.scanner.flags &= ~scanner::kAskUser;
  app.scanner.detectionDialog = nullptr;
  scanner::ExitInstance(app);
  app.scanner.notifyWindow = app.scanner.statusWindow = nullptr;
  app.scanner.resultList = nullptr;
  app.scanner.prompt = nullptr;
  return status;
}

}  // namespace zepscan
