// The control-centre task: client library, callbacks, semaphore, start wait, fetch, LastUpdate.
#include "update/app/ControlCentreRun.h"

#include <atomic>
#include <cstdlib>
#include <ctime>

#include "platform/Errors.h"
#include "platform/NamedSemaphore.h"
#include "platform/ProcessId.h"
#include "update/app/LastUpdate.h"
#include "update/app/SemaphoreName.h"

namespace update {

namespace {

// kComponent: the downloader's number at the control centre (hexadecimal 31).
constexpr int kComponent = 49;

std::atomic<ControlCentreRun*> g_active{nullptr};

int StartCallback(void*, void*) {
  ControlCentreRun* run = g_active.load();
  return run ? run->OnStart() : 0;
}
int StopCallback(void*, void*) {
  ControlCentreRun* run = g_active.load();
  return run ? run->OnStop() : 0;
}
int PauseCallback(void*, void*) {
  ControlCentreRun* run = g_active.load();
  return run ? run->OnPause() : 0;
}
int ResumeCallback(void*, void*) {
  ControlCentreRun* run = g_active.load();
  return run ? run->OnResume() : 0;
}

// The program's memory functions, handed to the library.
void* Allocate(size_t size) {
  return std::malloc(size);
}
void Release(void* block) {
  std::free(block);
}

}  // namespace

ControlCentreRun::ControlCentreRun(palmsettings::PalmSettings& record, platform::Prompt& prompt,
                                   const UpdateOptions& options)
    : record_(record), prompt_(prompt), options_(options) {}

ControlCentreRun::~ControlCentreRun() {
  ControlCentreRun* self = this;
  g_active.compare_exchange_strong(self, nullptr);
}

RunOutcome ControlCentreRun::Run() {
  if (library_.Load() != 0) return RunOutcome::NoLibrary;
  const RuviClientFunctions& f = library_.functions();
  start_ = platform::CreateEvent(platform::EventReset::Manual, platform::EventState::Nonsignaled);
  g_active = this;
  RegisterCallbacks();
  if (InitialiseClient()) AwaitStart();

  FetchContext context{prompt_, f.SendStatusEx, nullptr, options_.limits};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    fetchKnown_ = fetch_.Start(record_, context);
  }
  fetch_.WaitEnded(options_.fetchLimitMs);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    fetchKnown_ = false;
  }
  // A fetch that outlived the limit is stopped here rather than left running
  // beside what follows: the marks must be final before they are read, and
  // no file may still be written while the set is promoted.
  fetch_.Finish();

  StoreLastUpdate(record_, CurrentTime(options_));
  // The files wait in the Download folder; a complete set becomes current
  // here as after an interactive run, or the conduit would never see it.
  const bool complete = record_.PromoteDownloads() == 1;
  // Done ends the library's callback thread, so no callback runs after it.
  f.Done();
  g_active = nullptr;
  library_.Unload();
  return complete ? RunOutcome::Complete : RunOutcome::Incomplete;
}

void ControlCentreRun::RegisterCallbacks() {
  const RuviClientFunctions& f = library_.functions();
  f.RegisterClientCallback(kRuviCommandStart, StartCallback);
  f.RegisterClientCallback(kRuviCommandStop, StopCallback);
  f.RegisterClientCallback(kRuviCommandPause, PauseCallback);
  f.RegisterClientCallback(kRuviCommandResume, ResumeCallback);
}

bool ControlCentreRun::InitialiseClient() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  const std::string name =
      SemaphoreName(std::rand(), static_cast<long>(platform::CurrentProcessId()));
  semaphore_ = platform::CreateSemaphore(name, 0, 1);
  // The name is taken: the client is left uninitialised and the existing
  // semaphore is not held.
  if (!semaphore_.valid() || platform::GetLastError() == platform::ERROR_ALREADY_EXISTS) {
    semaphore_.Close();
    return false;
  }
  library_.functions().InitEx(kComponent, 0, Allocate, Release);
  return true;
}

void ControlCentreRun::AwaitStart() {
  for (uint32_t i = 0; i < options_.startWaits; ++i)
    if (start_.Wait(options_.startWaitMs) == platform::WAIT_OBJECT_0) return;
  if (library_.functions().SendStatusEx) library_.functions().SendStatusEx(3, 0);
}

void ControlCentreRun::SendStatus(int status) {
  if (library_.functions().SendStatus) library_.functions().SendStatus(status);
}

int ControlCentreRun::OnStart() {
  SendStatus(1);
  start_.Set();
  return 1;
}

int ControlCentreRun::OnStop() {
  SendStatus(7);
  bool known = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    known = fetchKnown_;
  }
  if (known) {
    fetch_.control().Cancel();
    if (fetch_.WaitEnded(options_.stopWaitMs)) {
      SendStatus(4);
      std::lock_guard<std::mutex> lock(mutex_);
      fetchKnown_ = false;
      return 1;
    }
  }
  SendStatus(8);
  return 0;
}

int ControlCentreRun::OnPause() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!fetchKnown_) return 0;
    fetch_.control().Pause();
  }
  SendStatus(5);
  return 1;
}

int ControlCentreRun::OnResume() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!fetchKnown_) return 0;
    fetch_.control().Resume();
  }
  SendStatus(1);
  return 1;
}

}  // namespace update
