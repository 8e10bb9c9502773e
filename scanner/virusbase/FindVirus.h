// The single entry point for matching an object against the loaded base.
#pragma once

#include <cstdint>

#include "scanner/virusbase/VirusBase.h"

namespace scanner {

// FindVirus: walks the list from head and returns the first record whose
// signature occurs anywhere in buffer, or nullptr. The record stays owned by
// base. Reads base only; allocates nothing.
const VirusRecord* FindVirus(const VirusBase& base, const uint8_t* buffer, uint32_t length);

}  // namespace scanner
