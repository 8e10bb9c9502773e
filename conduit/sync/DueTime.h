// When a scheduled update is due, and the clock it is compared with.
#pragma once

#include <cstdint>
#include <functional>

#include "palmsettings/PalmSettings.h"

namespace conduit {

// kDueEarlySeconds: an update counts as due ten hours before the full
// interval has passed, so a daily HotSync at a slightly earlier hour still
// finds it due.
inline constexpr int64_t kDueEarlySeconds = 36000;

// Clock: the current time in seconds since 1970-01-01 00:00 UTC.
using Clock = std::function<int64_t()>;

// SystemTime: the system clock in seconds since 1970-01-01 00:00 UTC.
int64_t SystemTime();

// DueTime: DaysBetweenUpdate × 86400 + LastUpdate − 36000. Worked out in 64
// bits: in 32 bits a large interval or a LastUpdate near 2038 would wrap to
// a time long past and make every synchronisation start the downloader.
int64_t DueTime(const palmsettings::PalmSettings& record);

// UpdateIsDue: whether `now` has reached the due time.
bool UpdateIsDue(const palmsettings::PalmSettings& record, int64_t now);

}  // namespace conduit
