// The single entry point for matching an object against the loaded base.
#pragma once

#include <cstdint>

#include "scanner/virusbase/VirusBase.h"

namespace scanner {

// FindVirus: the first record in list order whose signature occurs in buffer
// (as SearchPattern finds it), or nullptr. The record stays owned by base.
// Uses base.index when base.engine is kIndex and the index was built for the
// list as it stands, else walks the list with SearchPattern; the answer is
// the same. Reads base only, allocates nothing; safe from several threads.
const VirusRecord* FindVirus(const VirusBase& base, const uint8_t* buffer, uint32_t length);

// FindVirusByReference: the list walk alone, whatever the engine.
const VirusRecord* FindVirusByReference(const VirusBase& base, const uint8_t* buffer,
                                        uint32_t length);

}  // namespace scanner
