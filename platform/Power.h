// Battery charge as the handheld's power status reports it.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// BATTERY_PERCENTAGE_UNKNOWN: the reading when no battery level is known.
inline constexpr uint8_t BATTERY_PERCENTAGE_UNKNOWN = 255;

// PowerSource: where battery readings come from.
class PowerSource {
 public:
  virtual ~PowerSource() = default;
  // BatteryPercent: a fresh reading, 0 to 100, or 255 when unknown.
  virtual uint8_t BatteryPercent() = 0;
};

// SysfsPowerSource: the host's batteries under a power-supply folder
// (/sys/class/power_supply): the first entry, in name order, whose type is
// "Battery", that is not a peripheral's (scope "Device") and not marked
// absent, and whose capacity reads as 0 to 100. None → 255.
class SysfsPowerSource : public PowerSource {
 public:
  explicit SysfsPowerSource(std::string folder = "/sys/class/power_supply");
  uint8_t BatteryPercent() override;

 private:
  std::string folder_;
};

// FixedPowerSource: always the same reading; for tests.
class FixedPowerSource : public PowerSource {
 public:
  explicit FixedPowerSource(uint8_t percent) : percent_(percent) {}
  uint8_t BatteryPercent() override { return percent_; }
  void set(uint8_t percent) { percent_ = percent; }

 private:
  uint8_t percent_;
};

// BatteryPercent: a fresh reading of the battery: from the source installed by
// SetPowerSource when there is one; else from QM_BATTERY_PERCENT when it holds
// 0 to 100 or 255 (for demonstrations and end-to-end tests); else from the
// host's batteries.
uint8_t BatteryPercent();

// SetPowerSource: installs a source (borrowed; null restores the normal
// readings) and returns the previous one.
PowerSource* SetPowerSource(PowerSource* source);

// ScopedPowerSource: installs a source for the lifetime of the object.
class ScopedPowerSource {
 public:
  explicit ScopedPowerSource(PowerSource& source) : previous_(SetPowerSource(&source)) {}
  ~ScopedPowerSource() { SetPowerSource(previous_); }
  ScopedPowerSource(const ScopedPowerSource&) = delete;
  ScopedPowerSource& operator=(const ScopedPowerSource&) = delete;

 private:
  PowerSource* previous_;
};

}  // namespace platform
