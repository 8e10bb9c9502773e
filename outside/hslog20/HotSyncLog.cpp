// Appending entries to the HotSync log file.
#include "outside/hslog20/HotSyncLog.h"

#include <mutex>

#include "platform/File.h"
#include "platform/Home.h"

namespace hslog20 {

std::string LogFilePath() {
  return platform::StatePath("QM_HOTSYNC_LOG", "hotsync.log");
}

uint32_t AppendLogLine(std::string_view text) {
  static std::mutex mutex;
  std::string line(text);
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  line += '\n';

  const std::lock_guard lock(mutex);
  const std::string path = LogFilePath();
  const auto slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) platform::EnsureFolder(path.substr(0, slash));
  platform::File file;
  if (const uint32_t rc = file.Open(platform::HostFilePath(path), platform::GENERIC_WRITE,
                                    platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE,
                                    platform::Disposition::OpenAlways);
      rc != 0)
    return rc;
  if (const uint32_t rc = file.Seek(0, platform::SeekOrigin::End); rc != 0) return rc;
  size_t written = 0;
  return file.Write(std::span(reinterpret_cast<const uint8_t*>(line.data()), line.size()), written);
}

}  // namespace hslog20
