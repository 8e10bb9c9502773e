// A stand-in folder driver whose start-ups fail or succeed as a test scripts them.
//
// The test writes "$QM_HOME/driver-script": one word per start-up, used in
// order: "ok" starts, "refuse" starts but refuses control code 4, a number
// fails the start-up with that error. An exhausted or missing script starts.
// Every start-up and end is appended to "$QM_HOME/driver-log" ("init <handle>"
// or "fail <error>", "deinit <handle>"), so tests see what reached the driver.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "outside/devicemanager/DriverInterface.h"

namespace {

constexpr uint32_t kSetHandle = 4;
constexpr uint32_t kGenFailure = 31;
constexpr uint32_t kNotSupported = 50;

struct Device {
  uint32_t handle;
  bool refusesHandle;
};

std::string HomeFile(const char* name) {
  const char* home = std::getenv("QM_HOME");
  return std::string(home ? home : ".") + "/" + name;
}

void Log(const std::string& line) {
  std::ofstream(HomeFile("driver-log"), std::ios::app) << line << '\n';
}

// NextWord: takes the first word off the script.
std::string NextWord() {
  const std::string path = HomeFile("driver-script");
  std::vector<std::string> words;
  {
    std::ifstream in(path);
    words.assign(std::istream_iterator<std::string>(in), {});
  }
  if (words.empty()) return "ok";
  std::ofstream out(path, std::ios::trunc);
  for (size_t i = 1; i < words.size(); ++i) out << words[i] << '\n';
  return words.front();
}

}  // namespace

DRIVER_EXPORT uintptr_t VDD_Init(const uint8_t*, uint32_t, uint32_t handle, uint32_t* error) {
  const std::string word = NextWord();
  if (word != "ok" && word != "refuse") {
    *error = static_cast<uint32_t>(std::strtoul(word.c_str(), nullptr, 10));
    Log("fail " + std::to_string(*error));
    return 0;
  }
  Log("init " + std::to_string(handle));
  return reinterpret_cast<uintptr_t>(new Device{handle, word == "refuse"});
}

DRIVER_EXPORT void VDD_Deinit(uintptr_t context) {
  auto* device = reinterpret_cast<Device*>(context);
  Log("deinit " + std::to_string(device->handle));
  delete device;
}

DRIVER_EXPORT uintptr_t VDD_Open(uintptr_t context, uint32_t, uint32_t, uint32_t*) {
  return context;
}

DRIVER_EXPORT void VDD_Close(uintptr_t) {}

DRIVER_EXPORT uint32_t VDD_IOControl(uintptr_t open, uint32_t code, uint8_t*, uint32_t, uint8_t*,
                                     uint32_t, uint32_t* returned) {
  *returned = 0;
  const auto* device = reinterpret_cast<const Device*>(open);
  if (code != kSetHandle) return kNotSupported;
  return device->refusesHandle ? kGenFailure : 0;
}
