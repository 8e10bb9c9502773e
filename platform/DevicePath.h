// Handheld paths ("\My Documents\x") resolved to host paths through the mount table.
#pragma once

#include <string>
#include <string_view>

#include "platform/FilePath.h"

namespace platform {

// ResolveDevicePath: the host location of a handheld path. Both "\" and "/"
// separate components; a path without a leading separator is taken from the
// root as well (the handheld has no current folder). "." is ignored and ".."
// removes the component before it; ".." at the root stays at the root, so a
// path never leaves the device root or a mount. At the root, mount names
// (storage cards, ROM folders) come before host entries of the same name; a
// card whose host folder is missing is treated as absent. Each component is
// matched exactly first and regardless of letter case when no exact match
// exists; the host is asked once for the whole path before any folder is
// listed. The last component need not exist (see FilePath). Errors in the
// result: ERROR_INVALID_NAME (123) for a component holding a wildcard or a
// character Windows forbids, ERROR_PATH_NOT_FOUND (3) when a folder on the
// way is missing or is a file, or the host's code when a folder cannot be
// read.
FilePath ResolveDevicePath(std::string_view path);
FilePath ResolveDevicePath(std::u16string_view path);

// DevicePathFromHost: the handheld path ("\Storage Card\a.txt") of a host
// path under the device root or a present mount; "" when it lies outside.
std::string DevicePathFromHost(std::string_view hostPath);

}  // namespace platform
