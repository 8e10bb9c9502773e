// FindVirus over 256 MiB with 10,000 and 100,000 signatures, the index build, the summary.
#include "scanner/virusbase/bench/MatchFigures.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "scanner/virusbase/FindVirus.h"
#include "scanner/virusbase/SignatureIndex.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kBufferBytes = size_t{256} << 20;
constexpr int kSignatureCounts[] = {10000, 100000};

// Data: what the buffer and the signatures are made of.
enum class Data { kRandom, kText };
const char* DataName(Data d) {
  return d == Data::kRandom ? "random bytes" : "lowercase text";
}

// Floors the index must reach, in GB/s (1e9 bytes a second).
double Floor(Data d, int signatures) {
  if (d == Data::kRandom) return signatures <= 10000 ? 2.0 : 1.0;
  return signatures <= 10000 ? 0.5 : 0.2;
}

// Fill: random bytes, or words of random lowercase letters between spaces.
void Fill(std::vector<uint8_t>& v, Data d, std::mt19937_64& rng) {
  if (d == Data::kRandom) {
    for (size_t i = 0; i < v.size(); i += 8) {
      uint64_t r = rng();
      for (size_t j = i; j < i + 8 && j < v.size(); ++j, r >>= 8) v[j] = static_cast<uint8_t>(r);
    }
    return;
  }
  for (size_t i = 0; i < v.size(); ++i) {
    const uint64_t r = rng() % 160;
    v[i] = r < 24 ? ' ' : static_cast<uint8_t>('a' + r % 26);  // words of about 6 letters
  }
}

const std::vector<uint8_t>& Buffer(Data d) {
  static std::unique_ptr<std::vector<uint8_t>> buffers[2];
  auto& b = buffers[static_cast<int>(d)];
  if (!b) {
    b = std::make_unique<std::vector<uint8_t>>(kBufferBytes);
    std::mt19937_64 rng(d == Data::kRandom ? 11 : 12);
    Fill(*b, d, rng);
  }
  return *b;
}

// MakeBase: signatures of 8 to 64 bytes made like the data, in a base
// whose index is built (or not, for the build benchmark).
std::unique_ptr<scanner::VirusBase> MakeBase(Data d, int count, bool index) {
  auto base = std::make_unique<scanner::VirusBase>();
  base->engine = scanner::MatchEngine::kIndex;
  std::mt19937_64 rng(static_cast<uint64_t>(count) * 3 + static_cast<uint64_t>(d));
  for (int i = 0; i < count; ++i) {
    auto r = std::make_unique<scanner::VirusRecord>();
    std::vector<uint8_t> s(8 + rng() % 57);
    Fill(s, d, rng);
    r->signatureLength = static_cast<uint32_t>(s.size());
    r->signature = std::make_unique<uint8_t[]>(s.size());
    std::copy(s.begin(), s.end(), r->signature.get());
    base->PushFront(std::move(r));
  }
  if (index) scanner::BuildIndex(*base);
  return base;
}

const scanner::VirusBase& Base(Data d, int count) {
  static std::map<std::pair<int, int>, std::unique_ptr<scanner::VirusBase>> bases;
  auto& b = bases[{static_cast<int>(d), count}];
  if (!b) b = MakeBase(d, count, true);
  return *b;
}

// Status: a "kB" line of /proc/self/status in MiB, or -1.
double StatusMiB(const std::string& field) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024;
  return -1;
}

// ResetPeak: makes the peak resident size the present one; false when the
// system does not allow it.
bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

struct Figures {
  double indexBytesPerSecond = 0;
  double referenceBytesPerSecond = 0;
};
std::map<std::pair<int, int>, Figures> figures;
struct BuildFigures {
  double seconds = 0, peakMiB = -1, indexMiB = 0;
};
std::map<int, BuildFigures> builds;

void IndexBuild(benchmark::State& state, int count) {
  auto base = MakeBase(Data::kRandom, count, false);
  BuildFigures f;
  for (auto _ : state) {
    base->index.reset();
    const double before = StatusMiB("VmRSS");
    const bool reset = ResetPeak();
    const auto start = Clock::now();
    if (scanner::BuildIndex(*base) != 0) state.SkipWithError("no memory for the index");
    f.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (reset) f.peakMiB = StatusMiB("VmHWM") - before;
    f.indexMiB = static_cast<double>(base->index->MemoryBytes()) / (1 << 20);
  }
  state.counters["peak_MiB"] = f.peakMiB;
  state.counters["index_MiB"] = f.indexMiB;
  builds[count] = f;
}

// Median: the middle of the rates measured (the upper one of two).
double Median(std::vector<double> rates) {
  if (rates.empty()) return 0;
  std::sort(rates.begin(), rates.end());
  return rates[rates.size() / 2];
}

// Scan: FindVirus over the first `bytes` of the buffer. Records the median
// of its rates in bytes per second of processor time, which on a shared
// machine leaves out the time other work held the processor.
void Scan(benchmark::State& state, Data d, int count, bool reference, size_t bytes) {
  const scanner::VirusBase& base = Base(d, count);
  const std::vector<uint8_t>& buffer = Buffer(d);
  const auto length = static_cast<uint32_t>(bytes);
  std::vector<double> rates;
  for (auto _ : state) {
    const std::clock_t start = std::clock();
    const scanner::VirusRecord* hit =
        reference ? scanner::FindVirusByReference(base, buffer.data(), length)
                  : scanner::FindVirus(base, buffer.data(), length);
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    benchmark::DoNotOptimize(hit);
    if (seconds > 0) rates.push_back(static_cast<double>(bytes) / seconds);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  Figures& f = figures[{static_cast<int>(d), count}];
  (reference ? f.referenceBytesPerSecond : f.indexBytesPerSecond) = Median(rates);
}

}  // namespace

void RegisterMatchBenchmarks() {
  for (int count : kSignatureCounts)
    benchmark::RegisterBenchmark(("BM_IndexBuild/" + std::to_string(count)).c_str(), IndexBuild,
                                 count)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  for (Data d : {Data::kRandom, Data::kText}) {
    const std::string data = d == Data::kRandom ? "Random" : "Text";
    for (int count : kSignatureCounts) {
      const std::string suffix = data + "256MB/" + std::to_string(count);
      benchmark::RegisterBenchmark(("BM_FindVirusIndex" + suffix).c_str(), Scan, d, count, false,
                                   kBufferBytes)
          ->Unit(benchmark::kMillisecond)
          ->MinTime(1.0);
      // The reference costs signatures x bytes: a slice keeps it to seconds,
      // and bytes a second stay comparable.
      const size_t slice = count <= 10000 ? size_t{1} << 20 : size_t{128} << 10;
      benchmark::RegisterBenchmark(("BM_FindVirusReference" + data + std::to_string(slice >> 10) +
                                    "KB/" + std::to_string(count))
                                       .c_str(),
                                   Scan, d, count, true, slice)
          ->Unit(benchmark::kMillisecond)
          ->Iterations(1);
    }
  }
}

void PrintMatchFigures() {
  if (figures.empty() && builds.empty()) return;
  std::printf(
      "\nFindVirus, one thread, median rate per second of processor time "
      "(GB/s = 1e9 bytes)\n");
  std::printf("%-16s %10s %10s %7s %7s %15s %10s\n", "data", "signatures", "index GB/s", "floor",
              "x floor", "reference MB/s", "x reference");
  for (const auto& [key, f] : figures) {
    const Data d = static_cast<Data>(key.first);
    const double index = f.indexBytesPerSecond / 1e9;
    std::printf(
        "%-16s %10d %10.2f %7.1f %7.2f %15.3f %10.0f\n", DataName(d), key.second, index,
        Floor(d, key.second), index / Floor(d, key.second), f.referenceBytesPerSecond / 1e6,
        f.referenceBytesPerSecond > 0 ? f.indexBytesPerSecond / f.referenceBytesPerSecond : 0.0);
  }
  for (const auto& [count, b] : builds)
    std::printf(
        "Index build, %d signatures: %.3f s (limit 5 s), peak %.1f MiB (limit 300 MB), "
        "index %.1f MiB\n",
        count, b.seconds, b.peakMiB, b.indexMiB);
}

}  // namespace bench
