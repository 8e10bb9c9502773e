// Sector throughput of a mounted folder through the client calls, per cipher.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cipher/Rc5.h"
#include "cipher/Rc6.h"
#include "cipher/Rijndael.h"
#include "folders/container/ContainerHeader.h"
#include "folders/volumes/DriverCodes.h"
#include "folders/volumes/MountBlock.h"
#include "outside/devicemanager/ServiceClient.h"
#include "platform/DeviceManager.h"
#include "platform/File.h"
#include "platform/Module.h"
#include "platform/Text.h"
#include "platform/testing/TempFolder.h"

namespace {

constexpr uint32_t kSectors = 2048;  // a 1 MB folder

int (*CreateKey(uint16_t algorithm))(const uint8_t*, uint32_t, uint8_t*) {
  switch (algorithm) {
    case folders::kCipherRc5:
      return cipher::Rc5CreateKey;
    case folders::kCipherRc6:
      return cipher::Rc6CreateKey;
    case folders::kCipherRijndael128:
      return cipher::Rj128CreateKey;
    default:
      return cipher::Rj256CreateKey;
  }
}

// MountedFolder: a private home with Secvol installed and one folder mounted.
class MountedFolder {
 public:
  explicit MountedFolder(uint16_t algorithm) {
    const std::string home = folder_.path();
    ::setenv("QM_HOME", home.c_str(), 1);
    ::setenv("QM_DEVICE_ROOT", (home + "/device").c_str(), 1);
    ::setenv("QM_DEVICE_MOUNTS", (home + "/mounts.conf").c_str(), 1);
    const char* bin = std::getenv("SUITE_BIN");
    const std::string binDir = bin ? bin : platform::ProgramFolder() + "/../bin";
    ::setenv("SUITE_BIN", binDir.c_str(), 1);
    std::filesystem::create_directories(home + "/device/Windows");
    std::filesystem::copy_file(binDir + "/Secvol.so", home + "/device/Windows/Secvol.so");
    folders::ContainerHeader h{};
    h.sectorCount = kSectors;
    h.sectorSize = folders::kSectorSize;
    h.algorithm = algorithm;
    std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
    bytes.append(size_t{kSectors} * folders::kSectorSize, '\0');
    folder_.Write("device/bench.zsf", bytes);

    folders::MountInformation m{};
    m.block.record = folders::kMountBlockRecordOffset;
    const uint8_t key[] = {'p', 0, 'w', 0};
    CreateKey(algorithm)(key, sizeof key, m.block.keyObject);
    m.record.algorithm = algorithm;
    platform::CopyToField(m.record.path, u"\\bench.zsf");
    std::vector<uint8_t> info(sizeof m);
    std::memcpy(info.data(), &m, sizeof m);
    handle_ = platform::RegisterDevice(u"VDD", 0, u"Secvol.dll", info);
    if (handle_ != 0)
      device_.Open(u"VDD0:", platform::GENERIC_READ | platform::GENERIC_WRITE, 0,
                   platform::DEVICE_OPEN_SYSTEM);
  }
  ~MountedFolder() {
    device_.Close();
    devicemanager::StopService(platform::DeviceManagerSocketPath());
  }
  bool ok() const { return device_.isOpen(); }
  platform::Device& device() { return device_; }

 private:
  platform::testing::TempFolder folder_{"qm_secvol_bench"};
  platform::DeviceHandle handle_ = 0;
  platform::Device device_;
};

void ReadSectors(benchmark::State& state) {
  MountedFolder folder(static_cast<uint16_t>(state.range(0)));
  if (!folder.ok()) return state.SkipWithError("mount failed");
  std::vector<uint8_t> out(folders::kSectorSize);
  uint32_t n = 0;
  for (auto _ : state) {
    uint8_t in[4];
    std::memcpy(in, &n, 4);
    uint32_t returned = 0;
    if (folder.device().IoControl(folders::kIoctlReadSector, in, out, returned) != 0)
      return state.SkipWithError("read failed");
    n = (n + 1) % kSectors;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * folders::kSectorSize);
}

void WriteSectors(benchmark::State& state) {
  MountedFolder folder(static_cast<uint16_t>(state.range(0)));
  if (!folder.ok()) return state.SkipWithError("mount failed");
  std::vector<uint8_t> in(4 + folders::kSectorSize, 0x5A);
  uint32_t n = 0;
  for (auto _ : state) {
    std::memcpy(in.data(), &n, 4);
    uint32_t returned = 0;
    if (folder.device().IoControl(folders::kIoctlWriteSector, in, {}, returned) != 0)
      return state.SkipWithError("write failed");
    n = (n + 1) % kSectors;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * folders::kSectorSize);
}

// Arguments: the cipher numbers 3 (RC5), 4 (RC6), 5 (Rijndael-128), 6 (Rijndael-256).
// The work happens in the service process, so rates are taken over wall time.
BENCHMARK(ReadSectors)->DenseRange(3, 6)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(WriteSectors)->DenseRange(3, 6)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
