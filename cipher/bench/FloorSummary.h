// A console reporter that ends a benchmark run with its figures against their floors.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace cipher::bench {

// Floor: one figure the run must reach: the throughput of `name` either at
// least `ratio` times that of `reference`, or (reference empty) at least
// `bytesPerSecond`.
struct Floor {
  std::string what;
  std::string name;
  std::string reference;
  double ratio = 0;
  double bytesPerSecond = 0;
};

// FloorSummary: prints as the console reporter does, then one line per floor
// with the measured figure, its ratio to the reference and to the floor, and
// whether it holds. With repetitions the median counts. Benchmarks left out
// by a filter are reported as not run.
class FloorSummary : public benchmark::ConsoleReporter {
 public:
  explicit FloorSummary(std::vector<Floor> floors) : floors_(std::move(floors)) {}
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

  // held: false after Finalize when a floor that ran was missed.
  bool held() const { return held_; }

 private:
  std::vector<Floor> floors_;
  std::map<std::string, double> rates_;  // bytes per second by benchmark name
  bool held_ = true;
};

}  // namespace cipher::bench
