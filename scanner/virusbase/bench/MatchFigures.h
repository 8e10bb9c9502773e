// Benchmarks of FindVirus by index and by reference on large buffers, and their summary.
#pragma once

namespace bench {

// RegisterMatchBenchmarks: the index build for 10,000 and 100,000
// signatures, and FindVirus over 256 MiB of random bytes and of random
// lowercase text with spaces, by index and (on a slice) by reference.
void RegisterMatchBenchmarks();

// PrintMatchFigures: after the run, the figures side by side with their
// floors and the ratio of index to reference.
void PrintMatchFigures();

}  // namespace bench
