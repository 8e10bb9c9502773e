// Local date and time in the handheld's SYSTEMTIME layout, and the scan run's time text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace scanner {

// SystemTime: a local date and time, 16 bits per field, in SYSTEMTIME order.
struct SystemTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t dayOfWeek = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};
static_assert(sizeof(SystemTime) == 16);
static_assert(offsetof(SystemTime, dayOfWeek) == 4);
static_assert(offsetof(SystemTime, day) == 6);
static_assert(offsetof(SystemTime, hour) == 8);
static_assert(offsetof(SystemTime, milliseconds) == 14);

// GetLocalTime: the local clock now.
SystemTime GetLocalTime();

// FormatScanTime: "%.2d:%.2d  %.2d.%.2d.%.4d" with hour, minute, day, month
// and year, as the result list shows start and finish.
std::u16string FormatScanTime(const SystemTime& t);

}  // namespace scanner
