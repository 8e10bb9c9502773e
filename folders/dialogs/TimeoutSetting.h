// The time-out controls shared by the "Encryption" page and the properties dialog.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Prompt.h"

namespace folders {

// TimeoutUnit: the unit list's entries in their order.
enum class TimeoutUnit : uint8_t { Seconds, Minutes, Hours, Count };

inline constexpr uint32_t kTimeoutStep = 5;
inline constexpr uint32_t kTimeoutMaximum = 3600;

// TimeoutFactor: seconds per unit (1, 60, 3600).
constexpr uint32_t TimeoutFactor(TimeoutUnit unit) {
  switch (unit) {
    case TimeoutUnit::Minutes:
      return 60;
    case TimeoutUnit::Hours:
      return 3600;
    default:
      return 1;
  }
}

// TimeoutUnitName: "Seconds", "Minutes", "Hours".
const char16_t* TimeoutUnitName(TimeoutUnit unit);

// TimeoutBox: the "TimeOut" check box.
enum class TimeoutBox : uint8_t { Clear, Ticked };

// TimeoutSetting: what the controls hold.
struct TimeoutSetting {
  TimeoutBox box = TimeoutBox::Clear;
  uint32_t value = 0;
  TimeoutUnit unit = TimeoutUnit::Seconds;

  // Seconds: value × factor, or 0 when the box is clear.
  uint64_t Seconds() const {
    return box == TimeoutBox::Ticked ? uint64_t{value} * TimeoutFactor(unit) : 0;
  }
  bool operator==(const TimeoutSetting&) const = default;
};

// TimeoutFromSeconds: a stored time-out shown in the largest of hours,
// minutes and seconds that divides it exactly (7200 → 2 Hours, 90 → 90
// Seconds); 0 → the box clear.
TimeoutSetting TimeoutFromSeconds(uint32_t seconds);

// CheckTimeout: ticked with 0 → "Timeout must be greater then 0!" (69); a
// value above 3600 → "Timeout is too large!" (70). Returns true when neither.
bool CheckTimeout(const TimeoutSetting& setting, platform::Prompt& prompt);

}  // namespace folders
