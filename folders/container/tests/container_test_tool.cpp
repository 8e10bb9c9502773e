// Test tool: a container creation or password change in a process of its own, optionally stopped
// part-way.
//
//   container_test_tool MARKER create PATH SIZE_KB CIPHER PASSWORD
//   container_test_tool MARKER change PATH OLD NEW [STOP_AFTER_SECTORS]
//
// PATH is a handheld path. The tool writes its result ("result N", or
// "stopped after N" when it ends itself part-way through a change) to the
// file MARKER, complete or not at all. Stopping uses std::_Exit from inside
// the change, so nothing is cleaned up, as if the process had been killed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "folders/container/Container.h"
#include "folders/container/PasswordChangeHooks.h"
#include "platform/Text.h"

namespace {

constexpr int kStoppedExitCode = 3;

std::string gMarker;
uint32_t gStopAfter = 0;

void WriteMarker(const std::string& text) {
  const std::string part = gMarker + ".part";
  { std::ofstream(part) << text << '\n'; }
  std::error_code ec;
  std::filesystem::rename(part, gMarker, ec);
}

void StopWhenFarEnough(uint32_t sectorsWritten) {
  if (sectorsWritten < gStopAfter) return;
  WriteMarker("stopped after " + std::to_string(sectorsWritten));
  std::_Exit(kStoppedExitCode);
}

int Usage() {
  std::fprintf(stderr,
               "usage: container_test_tool MARKER create PATH SIZE_KB CIPHER PASSWORD\n"
               "       container_test_tool MARKER change PATH OLD NEW [STOP_AFTER_SECTORS]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) return Usage();
  gMarker = argv[1];
  const std::string command = argv[2];
  const std::u16string path = platform::Utf8ToUtf16(argv[3]);
  folders::VolumeRecord record{};
  platform::CopyToField(record.path, path);
  int result = 0;
  if (command == "create" && argc == 7) {
    record.algorithm = static_cast<uint16_t>(std::strtoul(argv[5], nullptr, 10));
    const auto sizeKb = static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10));
    result = folders::CreateContainer(record, sizeKb, platform::Utf8ToUtf16(argv[6]));
  } else if (command == "change" && (argc == 6 || argc == 7)) {
    folders::ReadContainerHeader(record, path);
    if (argc == 7) {
      gStopAfter = static_cast<uint32_t>(std::strtoul(argv[6], nullptr, 10));
      folders::SetPasswordChangeHooks({.sectorsWritten = StopWhenFarEnough});
    }
    result = folders::ChangeContainerPassword(record, platform::Utf8ToUtf16(argv[4]),
                                              platform::Utf8ToUtf16(argv[5]));
  } else {
    return Usage();
  }
  WriteMarker("result " + std::to_string(result));
  return 0;
}
