// What a fetch needs besides the settings record: whom to tell, how to stop it, how long to wait.
#pragma once

#include "platform/Internet.h"
#include "platform/Prompt.h"
#include "update/app/RuviClientApi.h"
#include "update/fetch/FetchControl.h"

namespace update {

// FetchContext: borrowed by FetchLoop and FetchFile for one run; everything
// it points to must outlive the run.
struct FetchContext {
  // prompt: shows "Cannot copy temp file!" when a fetched file cannot be put
  // in place.
  platform::Prompt& prompt;
  // sendStatusEx: the control centre's RuviClientSendStatusEx when it was
  // resolved; the fetch reports through it only while the record's
  // NoTasksKey is 0. Null in the conduit and in interactive runs without it.
  RuviClientSendStatusExFn sendStatusEx = nullptr;
  // control: stop and pause from other threads; null when nobody does.
  FetchControl* control = nullptr;
  // limits: how long a silent server is waited for.
  platform::InternetLimits limits = {};
};

}  // namespace update
