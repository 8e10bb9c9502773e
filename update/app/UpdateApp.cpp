// The downloader's one run.
#include "update/app/UpdateApp.h"

#include "palmsettings/PalmSettings.h"
#include "update/app/CommandLine.h"
#include "update/app/ControlCentreRun.h"
#include "update/app/UpdateStrings.h"

namespace update {

int ExitCode(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::Complete:
      return kExitComplete;
    case RunOutcome::NoAddress:
      return kExitNoAddress;
    case RunOutcome::Incomplete:
    case RunOutcome::Cancelled:
    case RunOutcome::NoLibrary:
      return kExitIncomplete;
  }
  return kExitIncomplete;
}

int RunUpdate(std::string_view commandLine, UpdateFrontEnd& frontEnd,
              const UpdateOptions& options) {
  palmsettings::PalmSettings record;
  record.Load();  // a failure leaves the defaults, which hold no address
  RunOutcome outcome = RunOutcome::NoAddress;
  bool told = false;
  if (IsControlCentreMode(commandLine)) {
    ControlCentreRun run(record, frontEnd.prompt(), options);
    frontEnd.RunTask([&] { outcome = run.Run(); });
  } else {
    UpdateDialog dialog(record, frontEnd.prompt(), options);
    outcome = frontEnd.RunDialog(dialog);
    told = dialog.toldIncomplete();
  }
  // The closing message only when it is true and news: a complete set, or an
  // incomplete one that message 202 has just reported, gets none.
  if (outcome != RunOutcome::Complete && outcome != RunOutcome::NoAddress && !told)
    frontEnd.prompt().Show(kClosingText, kClosingCaption, platform::MB_OK | platform::MB_ICONERROR);
  return ExitCode(outcome);
}

}  // namespace update
