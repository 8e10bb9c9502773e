// ConduitLink: the outside libraries and the message box that the database layer works through.
#pragma once

#include "outside/hslog20/HsLog20Library.h"
#include "outside/sync20/Sync20Library.h"
#include "platform/Prompt.h"

namespace conduit {

// ConduitLink: what InstallDatabase, ReadHandheldBase and PurgeBackupCopies
// call. None of it is owned. `log` and `prompt` may be null (nothing is
// logged or shown); `sync` must be loaded.
struct ConduitLink {
  const sync20::Sync20Library* sync = nullptr;
  const hslog20::HsLog20Library* log = nullptr;
  platform::Prompt* prompt = nullptr;
};

// AddLogLine: adds `text` to the HotSync log (text, -1, 0) when a log is
// linked.
void AddLogLine(const ConduitLink& link, const char* text);

}  // namespace conduit
