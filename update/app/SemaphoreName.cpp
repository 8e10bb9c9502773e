// Formatting the task's semaphore name.
#include "update/app/SemaphoreName.h"

#include <cstdio>

namespace update {

std::string SemaphoreName(int random, long processId) {
  char buffer[64];
  // printf ignores the alternate form for a decimal conversion, so the
  // format's "%#06d" is "%06d"; spelled that way the compiler can check it.
  const int n = std::snprintf(buffer, sizeof buffer, "QRX_KONDUIT_SEM_%06d%ld", random, processId);
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace update
