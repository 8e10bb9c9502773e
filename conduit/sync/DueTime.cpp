// The due time of a scheduled update.
#include "conduit/sync/DueTime.h"

#include <chrono>

namespace conduit {

int64_t SystemTime() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

int64_t DueTime(const palmsettings::PalmSettings& record) {
  return int64_t{record.DaysBetweenUpdate} * 86400 + int64_t{record.LastUpdate} - kDueEarlySeconds;
}

bool UpdateIsDue(const palmsettings::PalmSettings& record, int64_t now) {
  return now >= DueTime(record);
}

}  // namespace conduit
