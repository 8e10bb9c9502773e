// The local clock and the time text of the result list.
#include "scanner/scanrun/SystemTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "platform/Text.h"

namespace scanner {

SystemTime GetLocalTime() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  {
    // std::localtime shares one result between threads; the worker and the
    // stopping thread may both read the clock.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    if (const std::tm* local = std::localtime(&seconds)) tm = *local;
  }
  SystemTime t;
  t.year = static_cast<uint16_t>(tm.tm_year + 1900);
  t.month = static_cast<uint16_t>(tm.tm_mon + 1);
  t.dayOfWeek = static_cast<uint16_t>(tm.tm_wday);
  t.day = static_cast<uint16_t>(tm.tm_mday);
  t.hour = static_cast<uint16_t>(tm.tm_hour);
  t.minute = static_cast<uint16_t>(tm.tm_min);
  t.second = static_cast<uint16_t>(tm.tm_sec);
  t.milliseconds = static_cast<uint16_t>(ms < 0 ? 0 : ms);
  return t;
}

std::u16string FormatScanTime(const SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2d:%.2d  %.2d.%.2d.%.4d", int{t.hour}, int{t.minute},
                int{t.day}, int{t.month}, int{t.year});
  return platform::Utf8ToUtf16(text);
}

}  // namespace scanner
