// Battery readings from an installed source, the environment or sysfs.
#include "platform/Power.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace platform {
namespace {

std::atomic<PowerSource*> g_source{nullptr};

// ReadWord: the first line of a small sysfs file, trimmed; empty when unreadable.
std::string ReadWord(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  return std::string(Trim(line));
}

std::optional<unsigned> ParsePercent(std::string_view text) {
  text = Trim(text);
  unsigned v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return v;
}

}  // namespace

SysfsPowerSource::SysfsPowerSource(std::string folder) : folder_(std::move(folder)) {}

uint8_t SysfsPowerSource::BatteryPercent() {
  std::error_code ec;
  std::vector<std::filesystem::path> supplies;
  for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec))
    supplies.push_back(it->path());
  std::sort(supplies.begin(), supplies.end());
  for (const auto& s : supplies) {
    if (ReadWord(s / "type") != "Battery") continue;
    if (ReadWord(s / "scope") == "Device") continue;  // a mouse or headset
    if (ReadWord(s / "present") == "0") continue;
    const auto v = ParsePercent(ReadWord(s / "capacity"));
    if (v && *v <= 100) return static_cast<uint8_t>(*v);
  }
  return BATTERY_PERCENTAGE_UNKNOWN;
}

uint8_t BatteryPercent() {
  if (PowerSource* s = g_source.load()) return s->BatteryPercent();
  if (const char* env = std::getenv("QM_BATTERY_PERCENT"); env && *env) {
    const auto v = ParsePercent(env);
    if (v && (*v <= 100 || *v == BATTERY_PERCENTAGE_UNKNOWN)) return static_cast<uint8_t>(*v);
  }
  SysfsPowerSource system;
  return system.BatteryPercent();
}

PowerSource* SetPowerSource(PowerSource* source) {
  return g_source.exchange(source);
}

}  // namespace platform
