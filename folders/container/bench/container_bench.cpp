// Creating a 64 MB container, and changing its password under each folder cipher.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "cipher/bench/FloorSummary.h"
#include "folders/container/Container.h"
#include "folders/container/ContainerHeader.h"
#include "platform/Module.h"
#include "platform/Text.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kSizeKb = 65536;
constexpr uint64_t kBytes = uint64_t{kSizeKb} * 1024;

// BenchDevice: a temporary handheld root, and ZSCrypt found beside the
// benchmark's build; removed when the program ends.
struct BenchDevice {
  std::string root;
  BenchDevice() {
    char pattern[] = "/tmp/qm_container_bench_XXXXXX";
    if (::mkdtemp(pattern) == nullptr) std::abort();
    root = pattern;
    fs::create_directories(root + "/device");
    ::setenv("QM_HOME", root.c_str(), 1);
    ::setenv("QM_DEVICE_ROOT", (root + "/device").c_str(), 1);
    ::setenv("QM_DEVICE_MOUNTS", (root + "/none.conf").c_str(), 1);
    if (::getenv("QM_MODULE_PATH") == nullptr)
      ::setenv("QM_MODULE_PATH", (platform::ProgramFolder() + "/../bin").c_str(), 1);
  }
  ~BenchDevice() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

const BenchDevice& Device() {
  static const BenchDevice device;
  return device;
}

folders::VolumeRecord Record(uint16_t cipher) {
  folders::VolumeRecord r{};
  platform::CopyToField(r.path, u"\\bench.zsf");
  r.algorithm = cipher;
  return r;
}

// A new file each time, as a user makes one: writing over the last one would
// also time waiting for its pages to reach the disk. The last one is removed
// off the clock.
void CreateContainer64MB(benchmark::State& state) {
  const BenchDevice& device = Device();
  const folders::VolumeRecord record = Record(folders::kCipherRijndael128);
  const std::string host = device.root + "/device/bench.zsf";
  for (auto _ : state) {
    state.PauseTiming();
    std::error_code ec;
    fs::remove(host, ec);
    state.ResumeTiming();
    if (folders::CreateContainer(record, kSizeKb, u"bench password") != 0)
      state.SkipWithError("CreateContainer failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(CreateContainer64MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void ChangePassword64MB(benchmark::State& state) {
  Device();
  const auto cipher = static_cast<uint16_t>(state.range(0));
  const folders::VolumeRecord record = Record(cipher);
  if (folders::CreateContainer(record, kSizeKb, u"first") != 0) {
    state.SkipWithError("CreateContainer failed");
    return;
  }
  bool first = true;
  for (auto _ : state) {
    const int rc = first ? folders::ChangeContainerPassword(record, u"first", u"second")
                         : folders::ChangeContainerPassword(record, u"second", u"first");
    if (rc != 0) state.SkipWithError("ChangeContainerPassword failed");
    first = !first;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
  state.SetLabel(cipher == folders::kCipherRc5           ? "RC5"
                 : cipher == folders::kCipherRc6         ? "RC6"
                 : cipher == folders::kCipherRijndael128 ? "Rijndael-128"
                                                         : "Rijndael-256");
}
BENCHMARK(ChangePassword64MB)
    ->Arg(folders::kCipherRc5)
    ->Arg(folders::kCipherRc6)
    ->Arg(folders::kCipherRijndael128)
    ->Arg(folders::kCipherRijndael256)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  cipher::bench::FloorSummary summary({
      {"creating a 64 MB container", "CreateContainer64MB", "", 0, 0.5e9},
  });
  benchmark::RunSpecifiedBenchmarks(&summary);
  benchmark::Shutdown();
  return 0;
}
