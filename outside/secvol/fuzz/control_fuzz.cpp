// Fuzz target: mount information and control calls of the folder driver on a small container.
//
// The first input byte picks what to feed: 0 hands the rest to Init as mount
// information; 1 makes the rest the container file (header and data area),
// mounts it and writes every sector it serves, which must never grow the
// file; any other value is a control call on a mounted folder, with the next
// four bytes as the code's selector, one byte as output size and the rest as
// input buffer.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "folders/container/ContainerHeader.h"
#include "folders/volumes/DriverCodes.h"
#include "folders/volumes/MountBlock.h"
#include "outside/secvol/SecureVolume.h"
#include "platform/Module.h"
#include "platform/ProcessId.h"
#include "platform/Text.h"

namespace {

constexpr uint32_t kSectors = 8;
constexpr uint32_t kCodes[] = {folders::kIoctlSetHandle,   folders::kIoctlGetRecord,
                               folders::kIoctlReadSector,  folders::kIoctlWriteSector,
                               folders::kIoctlSectorCount, 0x777};

struct World {
  std::string home;
  std::vector<uint8_t> info;
  secvol::SecureVolume volume;

  World() {
    home = (std::filesystem::temp_directory_path() /
            ("qm_secvol_fuzz." + std::to_string(platform::CurrentProcessId())))
               .string();
    std::filesystem::create_directories(home + "/device");
    ::setenv("QM_HOME", home.c_str(), 1);
    ::setenv("QM_DEVICE_ROOT", (home + "/device").c_str(), 1);
    ::setenv("QM_DEVICE_MOUNTS", (home + "/mounts.conf").c_str(), 1);
    // The cipher library is built beside the other modules.
    const std::string bin = platform::ProgramFolder() + "/../bin";
    ::setenv("QM_MODULE_PATH", bin.c_str(), 1);
    folders::ContainerHeader h{};
    h.sectorCount = kSectors;
    h.sectorSize = folders::kSectorSize;
    h.algorithm = folders::kCipherRijndael128;
    std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
    bytes.append(size_t{kSectors} * folders::kSectorSize, '\0');
    std::ofstream(home + "/device/f.zsf", std::ios::binary) << bytes;
    folders::MountInformation m{};
    m.block.record = folders::kMountBlockRecordOffset;
    m.record.algorithm = folders::kCipherRijndael128;
    platform::CopyToField(m.record.path, u"\\f.zsf");
    info.resize(sizeof m);
    std::memcpy(info.data(), &m, sizeof m);
    if (volume.Init(info, 0x100) != 0) __builtin_trap();
  }
  ~World() {
    volume.Deinit();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  if (size < 1) return 0;
  if (data[0] == 0) {
    // Random information must be refused or mount something, never crash.
    secvol::SecureVolume other;
    std::vector<uint8_t> info = world.info;
    std::memcpy(info.data(), data + 1, std::min(size - 1, info.size()));
    other.Init(size - 1 > info.size() ? std::span<const uint8_t>(data + 1, size - 1)
                                      : std::span<const uint8_t>(info),
               1);
    return 0;
  }
  if (data[0] == 1) {
    // An untrusted header, with a data area of at most a few sectors.
    const size_t fileSize = std::min<size_t>(size - 1, folders::kHeaderSize + 4 * 512 + 64);
    const std::string path = world.home + "/device/g.zsf";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(fileSize));
    secvol::SecureVolume forged;
    std::vector<uint8_t> info = world.info;
    folders::MountInformation m;
    std::memcpy(&m, info.data(), sizeof m);
    platform::CopyToField(m.record.path, u"\\g.zsf");
    std::memcpy(info.data(), &m, sizeof m);
    if (forged.Init(info, 2) != 0) return 0;
    if (folders::SectorOffset(forged.sectorCount()) > fileSize) __builtin_trap();
    const uint8_t plain[folders::kSectorSize] = {};
    for (uint32_t n = 0; n <= std::min<uint32_t>(forged.sectorCount(), 8); ++n)
      forged.WriteSector(n, plain);
    forged.WriteSector(UINT32_MAX, plain);
    forged.Deinit();
    if (std::filesystem::file_size(path) != fileSize) __builtin_trap();
    return 0;
  }
  if (size < 6) return 0;
  uint32_t selector;
  std::memcpy(&selector, data + 1, 4);
  const uint32_t code = kCodes[selector % std::size(kCodes)];
  std::vector<uint8_t> output(data[5] * 4u);
  std::vector<uint8_t> input(data + 6, data + size);
  uint32_t returned = 0;
  world.volume.Control(secvol::OpenAccess::ReadWrite, code, input, output, returned);
  if (returned > output.size()) __builtin_trap();
  return 0;
}
