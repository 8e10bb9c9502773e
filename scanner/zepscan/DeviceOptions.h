// The host folders that stand in for the handheld and its cards for one run.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zepscan {

// DeviceOptions: --device-root and the --card NAME=DIR arguments.
struct DeviceOptions {
  std::string deviceRoot;          // empty: the configured device root
  std::vector<std::string> cards;  // "NAME=DIR", each a storage card
};

// ApplyDeviceOptions: makes the device root and the cards those of this
// process (not stored anywhere), before any handheld path is resolved.
// Relative folders are taken from the current folder. Returns 0, or the
// Win32 code after a line on err naming the bad argument; nothing is applied
// then.
unsigned ApplyDeviceOptions(const DeviceOptions& options, std::ostream& err);

}  // namespace zepscan
