// The downloader from start to end: settings, the mode, the run, the closing message, the exit
// code.
#pragma once

#include <functional>
#include <string_view>

#include "platform/Prompt.h"
#include "update/app/UpdateDialog.h"
#include "update/app/UpdateOptions.h"

namespace update {

// UpdateFrontEnd: what differs between the window program and the tests.
class UpdateFrontEnd {
 public:
  // prompt: every message box of the run.
  virtual platform::Prompt& prompt() = 0;

  // RunDialog: shows the progress dialog over `dialog` modally: calls
  // dialog.Open with its window (NoAddress when that refuses), waits until
  // the dialog closes, keeps serving the window until dialog.ThreadsEnded(),
  // and returns dialog.Finish().
  virtual RunOutcome RunDialog(UpdateDialog& dialog) = 0;

  // RunTask: runs `task` (a control-centre run, which shows no window) to
  // its end while the prompt stays able to show messages from other threads.
  virtual void RunTask(const std::function<void()>& task) = 0;

 protected:
  ~UpdateFrontEnd() = default;
};

// Exit codes of the program.
inline constexpr int kExitComplete = 0;    // every file arrived and is current
inline constexpr int kExitNoAddress = 1;   // no update address configured
inline constexpr int kExitIncomplete = 2;  // cancelled, incomplete, or no control-centre library

// RunUpdate: the whole run. Loads the settings (a failed Load goes on with
// the defaults, which hold no address); runs the progress dialog, or the
// control-centre task when the command line holds "IPCSERVNAME"; then, when
// the run ended without a complete set and message 202 has not said so
// already, shows "Not all of update files were succesfuly received."
// captioned "Error" (never after the no-address message). Returns the exit
// code.
int RunUpdate(std::string_view commandLine, UpdateFrontEnd& frontEnd,
              const UpdateOptions& options = {});

// ExitCode: the exit code for a run's outcome.
int ExitCode(RunOutcome outcome);

}  // namespace update
