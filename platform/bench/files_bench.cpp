// Benchmarks: resolving handheld paths (exact and other-case) and listing a 10,000-file tree.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/DevicePath.h"
#include "platform/FindFile.h"
#include "platform/MountTable.h"
#include "platform/Text.h"

namespace {
constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;

// TreeHome: the temporary home, removed when the program ends.
struct TreeHome {
  std::string path;
  ~TreeHome() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

// A device root of 100 folders with 100 files each, made once per run.
const std::string& Tree() {
  static TreeHome home_;
  static const std::string root = [] {
    char tmpl[] = "/tmp/qm_files_bench_XXXXXX";
    const std::string home = mkdtemp(tmpl);
    home_.path = home;
    const std::string device = home + "/device";
    for (int d = 0; d < kFolders; ++d) {
      const std::string folder = device + "/Folder" + std::to_string(d);
      std::filesystem::create_directories(folder);
      for (int f = 0; f < kFilesPerFolder; ++f)
        std::ofstream(folder + "/File" + std::to_string(f) + ".Dat") << "x";
    }
    setenv("QM_HOME", home.c_str(), 1);
    setenv("QM_DEVICE_ROOT", device.c_str(), 1);
    platform::ResetDeviceMounts();
    return device;
  }();
  return root;
}

void BM_ResolveExact(benchmark::State& state) {
  Tree();
  int i = 0;
  for (auto _ : state) {
    const std::string p = "\\Folder" + std::to_string(i % kFolders) + "\\File" +
                          std::to_string(i % kFilesPerFolder) + ".Dat";
    benchmark::DoNotOptimize(platform::ResolveDevicePath(p));
    ++i;
  }
}
BENCHMARK(BM_ResolveExact);

// The scanner folds names to one case; every component then misses the exact
// test and is found through the cached folder listing.
void BM_ResolveOtherCase(benchmark::State& state) {
  Tree();
  int i = 0;
  for (auto _ : state) {
    const std::string p = "\\folder" + std::to_string(i % kFolders) + "\\file" +
                          std::to_string(i % kFilesPerFolder) + ".dat";
    benchmark::DoNotOptimize(platform::ResolveDevicePath(p));
    ++i;
  }
}
BENCHMARK(BM_ResolveOtherCase);

void BM_ListWholeTree(benchmark::State& state) {
  Tree();
  for (auto _ : state) {
    size_t files = 0;
    std::vector<std::string> pending{"\\"};
    while (!pending.empty()) {
      const std::string folder = pending.back();
      pending.pop_back();
      platform::FindFile find;
      platform::FindData data;
      for (uint32_t rc = find.FirstDevice(folder + "*.*", data); rc == 0; rc = find.Next(data)) {
        if (data.attributes & 0x10)
          pending.push_back(folder + data.name + "\\");
        else
          ++files;
      }
    }
    if (files != kFolders * kFilesPerFolder) state.SkipWithError("wrong file count");
  }
  state.SetItemsProcessed(state.iterations() * kFolders * kFilesPerFolder);
}
BENCHMARK(BM_ListWholeTree)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
