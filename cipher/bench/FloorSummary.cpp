// The end-of-run summary of the cipher benchmark's floors.
#include "cipher/bench/FloorSummary.h"

#include <cstdio>

namespace cipher::bench {

void FloorSummary::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred) continue;
    const auto rate = run.counters.find("bytes_per_second");
    if (rate == run.counters.end()) continue;
    // With repetitions the median stands (it is reported after the runs).
    if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
      rates_[run.run_name.function_name] = rate->second;
  }
}

void FloorSummary::Finalize() {
  ConsoleReporter::Finalize();
  std::printf("\nFigures against their floors:\n");
  for (const Floor& f : floors_) {
    const auto measured = rates_.find(f.name);
    const auto reference = f.reference.empty() ? rates_.end() : rates_.find(f.reference);
    if (measured == rates_.end() || (!f.reference.empty() && reference == rates_.end())) {
      std::printf("  %-44s not run\n", f.what.c_str());
      continue;
    }
    const double gbps = measured->second / 1e9;
    double toFloor = 0;
    if (f.reference.empty()) {
      toFloor = measured->second / f.bytesPerSecond;
      std::printf("  %-44s %6.2f GB/s  = %5.2f x the floor of %.2f GB/s", f.what.c_str(), gbps,
                  toFloor, f.bytesPerSecond / 1e9);
    } else {
      const double ratio = measured->second / reference->second;
      toFloor = ratio / f.ratio;
      std::printf("  %-44s %6.2f GB/s  = %5.2f x %s (%.2f GB/s); %5.2f x the floor of %.2f",
                  f.what.c_str(), gbps, ratio, f.reference.c_str(), reference->second / 1e9,
                  toFloor, f.ratio);
    }
    std::printf("  %s\n", toFloor >= 1 ? "holds" : "MISSED");
    if (toFloor < 1) held_ = false;
  }
}

}  // namespace cipher::bench
