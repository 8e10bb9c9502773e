// Appending call lines to the stand-in's log file.
#include "outside/ruviclient/CallLog.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "outside/ruviclient/ControlMessage.h"

namespace ruviclient {

void LogCall(std::string_view line) {
  static std::mutex mutex;
  const char* path = std::getenv(kLogVariable);
  if (path == nullptr || *path == '\0') return;
  std::string text(line);
  text += '\n';
  std::lock_guard<std::mutex> lock(mutex);
  // Opened for each line, so that a reader sees every line complete at once.
  std::FILE* f = std::fopen(path, "a");
  if (f == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

}  // namespace ruviclient
