// What a confirmed "New folder" sheet hands to creation.
#pragma once

#include <cstdint>
#include <string>

#include "folders/volumes/VolumeRecord.h"

namespace folders {

// NewFolderRequest: what a confirmed "New folder" sheet hands to creation.
struct NewFolderRequest {
  VolumeRecord record{};    // path (backslashes), cipher number, time-out, "mount as" name
  uint32_t sizeKb = 0;      // value × unit factor
  std::u16string password;  // whole, not cut to 15 characters
};

}  // namespace folders
