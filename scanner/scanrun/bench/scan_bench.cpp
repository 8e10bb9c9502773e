// Benchmark: a full walk and scan of 10,000 files (200 MB) against 100 signatures.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/MountTable.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/virusbase/MatchEngine.h"
#include "scanner/virusbase/SignatureIndex.h"
#include "scanner/walker/WalkFiles.h"

namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;
constexpr size_t kFileSize = 20000;  // 10,000 files of 20,000 bytes: 200 MB
constexpr int kSignatures = 100;
constexpr size_t kSignatureLength = 16;

// PeakMemoryKb: the process's peak resident size (VmHWM) in KiB.
long PeakMemoryKb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      long kb = 0;
      status >> kb;
      return kb;
    }
    status.ignore(1 << 12, '\n');
  }
  return -1;
}

// Tree: the generated device, made once and removed at exit.
struct Tree {
  std::filesystem::path home;
  Tree() {
    home = std::filesystem::temp_directory_path() /
           ("qm_scan_bench_" + std::to_string(std::random_device{}()));
    const std::filesystem::path root = home / "device";
    std::filesystem::create_directories(root);
    ::setenv("QM_HOME", home.c_str(), 1);
    ::setenv("QM_DEVICE_ROOT", root.c_str(), 1);
    ::setenv("QM_DEVICE_MOUNTS", (home / "mounts.conf").c_str(), 1);
    platform::ResetDeviceMounts();
    std::mt19937_64 random(42);
    std::string content(kFileSize, '\0');
    for (int f = 0; f < kFolders; ++f) {
      const std::filesystem::path folder = root / ("folder" + std::to_string(f));
      std::filesystem::create_directories(folder);
      for (int i = 0; i < kFilesPerFolder; ++i) {
        for (char& c : content) c = static_cast<char>(random());
        std::ofstream(folder / ("file" + std::to_string(i) + ".bin"), std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
      }
    }
  }
  ~Tree() {
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
  }
};

// Base: 100 random 16-byte signatures, none of which occurs in the tree.
std::unique_ptr<scanner::VirusBase> MakeBase(scanner::MatchEngine engine) {
  auto base = std::make_unique<scanner::VirusBase>();
  base->engine = engine;
  std::mt19937_64 random(7);
  for (int i = 0; i < kSignatures; ++i) {
    auto record = std::make_unique<scanner::VirusRecord>();
    record->name[0] = u'V';
    record->signatureLength = kSignatureLength;
    record->signature = std::make_unique<uint8_t[]>(kSignatureLength);
    for (size_t b = 0; b < kSignatureLength; ++b)
      record->signature[b] = static_cast<uint8_t>(random());
    base->PushFront(std::move(record));
  }
  base->virusCount = kSignatures;
  // A base read from a file gets its index from LoadBase; this one is made by hand.
  if (scanner::BuildIndex(*base) != 0) return nullptr;
  return base;
}

void BM_WalkAndScan(benchmark::State& state) {
  static Tree tree;
  const auto engine = static_cast<scanner::MatchEngine>(state.range(0));
  const std::unique_ptr<scanner::VirusBase> base = MakeBase(engine);
  if (!base) {
    state.SkipWithError("no memory for the signature index");
    return;
  }
  state.SetLabel(std::string(scanner::MatchEngineName(engine)));
  scanner::Scanner scanner;
  scanner.base = base.get();
  scanner.flags = scanner::kScanAllFiles;
  const long before = PeakMemoryKb();
  int64_t files = 0;
  for (auto _ : state) {
    scanner.files = scanner.folders = scanner.errors = scanner.virusesFound = 0;
    scanner::WalkFiles(scanner);
    files += scanner.files;
  }
  if (scanner.files != kFolders * kFilesPerFolder || scanner.virusesFound != 0)
    state.SkipWithError("the walk did not scan every file cleanly");
  state.counters["files/s"] =
      benchmark::Counter(static_cast<double>(files), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(files * static_cast<int64_t>(kFileSize));
  state.counters["VmHWM_before_kB"] = static_cast<double>(before);
  state.counters["VmHWM_after_kB"] = static_cast<double>(PeakMemoryKb());
}
BENCHMARK(BM_WalkAndScan)
    ->Arg(static_cast<int>(scanner::MatchEngine::kIndex))
    ->Arg(static_cast<int>(scanner::MatchEngine::kReference))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
