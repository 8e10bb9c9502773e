// The clock of a run.
#include "update/app/UpdateOptions.h"

#include <chrono>

namespace update {

int64_t CurrentTime(const UpdateOptions& options) {
  if (options.now) return options.now();
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace update
