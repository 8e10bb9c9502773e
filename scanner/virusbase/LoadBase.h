// Loading a verified base file into the record list.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "scanner/virusbase/SignatureResult.h"
#include "scanner/virusbase/VirusBase.h"

namespace scanner {

// LoadBase: verifies the file at a host path and reads its records into base,
// each at the head of the list. Returns 0; -3 when the signature check fails
// (an empty file included); -1 for a wrong format mark or a file-end chunk
// where a record is due; a positive platform code when the file cannot be
// opened or a chunk cannot be read (38 for a read past the signed content, 13
// for a name chunk whose length is not 64). Records read before a failure
// stay in the list; once the format mark is accepted virusCount is raised by
// the header's N whatever the result. With base.engine kIndex the signature
// index is rebuilt over the whole list afterwards (BuildIndex). The file is
// copied once and both the check and the record reader work on that copy, so
// what is loaded is what was verified.
int LoadBase(VirusBase& base, const std::string& path);

// LoadBase: the same over a file's bytes already in memory.
int LoadBase(VirusBase& base, std::span<const uint8_t> fileBytes);

}  // namespace scanner
