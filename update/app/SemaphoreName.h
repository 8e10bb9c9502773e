// The name of the semaphore a control-centre task announces itself with.
#pragma once

#include <string>

namespace update {

// kSemaphoreNameFormat: the name's printf format, applied to a random number
// and the process id.
inline constexpr char kSemaphoreNameFormat[] = "QRX_KONDUIT_SEM_%#06d%ld";

// SemaphoreName: kSemaphoreNameFormat applied to `random` and `processId`,
// exactly as printf does ("QRX_KONDUIT_SEM_0012344242" for 1234 and 4242).
std::string SemaphoreName(int random, long processId);

}  // namespace update
