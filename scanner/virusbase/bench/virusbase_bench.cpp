// Benchmarks: signature check, loading, pattern search, FindVirus by index and by reference.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "scanner/virusbase/CheckSignature.h"
#include "scanner/virusbase/LoadBase.h"
#include "scanner/virusbase/SearchPattern.h"
#include "scanner/virusbase/bench/MatchFigures.h"
#include "tools/zepbase/BaseList.h"
#include "tools/zepbase/Signer.h"

namespace {

zepbase::Signer& DemoSigner() {
  static zepbase::Signer signer = [] {
    std::ifstream in(ZEPBASE_DEMO_KEY);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    zepbase::PrivateKey key;
    zepbase::ParsePrivateKey(text, key);
    return zepbase::Signer(key);
  }();
  return signer;
}

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i + 8 <= n; i += 8) {
    const uint64_t r = rng();
    std::memcpy(v.data() + i, &r, 8);
  }
  return v;
}

void BM_CheckSignature10MB(benchmark::State& state) {
  const std::vector<uint8_t> file = DemoSigner().Sign(RandomBytes(10 << 20, 1));
  for (auto _ : state) {
    const int r = scanner::CheckSignature(file);
    if (r != 0) state.SkipWithError("check failed");
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_CheckSignature10MB)->Unit(benchmark::kMillisecond);

void BM_LoadBase10000Records(benchmark::State& state) {
  zepbase::BaseList list;
  std::mt19937 rng(2);
  for (int i = 0; i < 10000; ++i) {
    zepbase::BaseEntry e;
    e.name = u"Virus." + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
    e.signature.resize(16 + rng() % 48);
    for (auto& b : e.signature) b = static_cast<uint8_t>(rng());
    e.description = u"A description of moderate length for the detection dialog.";
    list.entries.push_back(std::move(e));
  }
  const std::vector<uint8_t> file = DemoSigner().Sign(zepbase::BuildBaseContent(list));
  for (auto _ : state) {
    scanner::VirusBase base;
    if (scanner::LoadBase(base, file) != 0) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(base.head);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 10000));
  state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_LoadBase10000Records)->Unit(benchmark::kMillisecond);

void BM_SearchPattern64MB(benchmark::State& state) {
  static const std::vector<uint8_t> text = RandomBytes(64 << 20, 3);
  const std::vector<uint8_t> pattern = RandomBytes(static_cast<size_t>(state.range(0)) + 8, 4);
  const uint32_t length = static_cast<uint32_t>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(scanner::SearchPattern(text.data(), static_cast<uint32_t>(text.size()),
                                                    pattern.data(), length));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SearchPattern64MB)->Arg(4)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // The index build runs first, before the large buffers, so that its peak
  // memory is its own.
  bench::RegisterMatchBenchmarks();
  benchmark::RunSpecifiedBenchmarks();
  bench::PrintMatchFigures();
  benchmark::Shutdown();
  return 0;
}
