// A run as a task of the control centre: its client library, start command, fetch and reports.
#pragma once

#include <mutex>

#include "palmsettings/PalmSettings.h"
#include "platform/NamedEvent.h"
#include "platform/NamedSemaphore.h"
#include "platform/Prompt.h"
#include "update/app/RuviClientLibrary.h"
#include "update/app/UpdateOptions.h"
#include "update/fetch/FetchThread.h"

namespace update {

// ControlCentreRun: one control-centre task. The library's callbacks carry
// no context, so one run at a time is active in a process; the callbacks
// reach it through a process-wide pointer while Run is under way.
class ControlCentreRun {
 public:
  ControlCentreRun(palmsettings::PalmSettings& record, platform::Prompt& prompt,
                   const UpdateOptions& options);
  ControlCentreRun(const ControlCentreRun&) = delete;
  ControlCentreRun& operator=(const ControlCentreRun&) = delete;
  ~ControlCentreRun();

  // Run: loads the client library (NoLibrary, with nothing fetched and
  // nothing written, when it does not load or lacks a required function);
  // registers the four callbacks; creates the task's semaphore and, when it
  // is new, initialises the library (component 49) and waits up to
  // startWaits × startWaitMs for the start command, sending status (3, 0)
  // when none came; fetches, waiting at most fetchLimitMs and then stopping a
  // fetch still under way; stores LastUpdate; promotes a complete set; calls
  // RuviClientDone and unloads the library. Returns Complete or Incomplete
  // after a fetch.
  RunOutcome Run();

  // The commands, as the registered callbacks carry them out; 1 done, 0
  // refused. Start sends status 1 and lets the run go on. Stop sends 7, ends
  // the fetch and, once it has ended, sends 4 and returns 1 (no fetch, or
  // one that does not end within stopWaitMs: 8 and 0). Pause (status 5) and
  // Resume (status 1) hold and release the fetch; 0 without a fetch thread.
  int OnStart();
  int OnStop();
  int OnPause();
  int OnResume();

 private:
  void RegisterCallbacks();
  bool InitialiseClient();
  void AwaitStart();
  void SendStatus(int status);

  palmsettings::PalmSettings& record_;
  platform::Prompt& prompt_;
  UpdateOptions options_;
  RuviClientLibrary library_;
  platform::Event start_;          // set by the start command
  platform::Semaphore semaphore_;  // the task's, held for the whole run
  FetchThread fetch_;
  std::mutex mutex_;
  bool fetchKnown_ = false;  // the callbacks' "thread handle": set while they may act on the fetch
};

}  // namespace update
