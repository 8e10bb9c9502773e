// HsLog20: the HotSync log library's stand-in, appending each entry to the log file.
#include <cstring>
#include <string>

#include "outside/hslog20/HotSyncLog.h"
#include "outside/hslog20/HsLog20Api.h"

#define HSLOG_EXPORT extern "C" __attribute__((visibility("default")))

HSLOG_EXPORT int32_t LogAddEntry(const char* text, int32_t /*activity*/, int32_t /*autoFlush*/) {
  return static_cast<int32_t>(hslog20::AppendLogLine(text ? text : ""));
}

HSLOG_EXPORT uint32_t QmLogPath(char* buffer, uint32_t size) {
  const std::string path = hslog20::LogFilePath();
  if (buffer != nullptr && path.size() < size) std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<uint32_t>(path.size());
}
