// Registry throughput: opens, queries and single-write transactions on one store.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "platform/RegKey.h"

namespace platform {
namespace {

// A store of its own in a temporary folder for the whole run.
struct BenchStore {
  BenchStore() {
    folder = std::filesystem::temp_directory_path() / "qmreg-bench";
    std::filesystem::remove_all(folder);
    setenv("QM_DESKTOP_REGISTRY", (folder / "desktop.db").c_str(), 1);
    RegCloseStores();
    key.Create(RegRootKey(RegStore::Desktop, HKEY_LOCAL_MACHINE),
               "SOFTWARE\\QuillmarkLab\\Components\\31");
    key.SetDword("SyncWaitTime", 5);
    key.SetString("ZEPPDir", "C:\\Program Files\\Quillmark Lab\\ZEPP for PalmOS",
                  RegTerminator::Omit);
  }
  ~BenchStore() {
    key.Close();
    RegCloseStores();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  std::filesystem::path folder;
  RegKey key;
};

BenchStore& Store() {
  static BenchStore store;
  return store;
}

void BM_QueryDword(benchmark::State& state) {
  HKEY key = Store().key.handle();
  for (auto _ : state) {
    uint32_t value = 0, size = 4;
    RegQueryValueEx(key, "SyncWaitTime", nullptr, nullptr, reinterpret_cast<uint8_t*>(&value),
                    &size);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_QueryDword);

void BM_QueryString(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Store().key.StringOr("ZEPPDir", ""));
}
BENCHMARK(BM_QueryString);

void BM_OpenAndCloseKey(benchmark::State& state) {
  Store();
  for (auto _ : state) {
    RegKey key;
    key.Open(RegRootKey(RegStore::Desktop, HKEY_LOCAL_MACHINE),
             "SOFTWARE\\QuillmarkLab\\Components\\31");
    benchmark::DoNotOptimize(key.handle());
  }
}
BENCHMARK(BM_OpenAndCloseKey);

void BM_SetDword(benchmark::State& state) {
  uint32_t n = 0;
  for (auto _ : state) Store().key.SetDword("LastUpdate", ++n);
}
BENCHMARK(BM_SetDword);

}  // namespace
}  // namespace platform

BENCHMARK_MAIN();
