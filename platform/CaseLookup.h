// Finding a folder entry regardless of letter case, with a small cache of folder listings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FilePath.h"
#include "platform/HostFiles.h"

namespace platform {

// FindNameIgnoringCase: looks in the host folder `folder` for an entry whose
// name equals `name` regardless of letter case. Returns 0 with `realName` and
// `status` of that entry, ERROR_FILE_NOT_FOUND (2) when there is none, or the
// code of the failure to list the folder. Listings are cached per folder; a
// cached answer is used only when the entry still exists, and a miss always
// lists the folder again, so entries added or removed since are seen. When
// several entries differ only in case, the first the host lists is taken.
uint32_t FindNameIgnoringCase(const std::string& folder, std::string_view name,
                              std::string& realName, HostStatus& status);

// ResolveBelow: the location of `parts` below the host folder `start`. The
// host is asked for the whole path first; only when that fails is each
// component matched exactly and then regardless of case. A missing last
// component keeps the caller's spelling; a missing or non-folder component
// before it gives ERROR_PATH_NOT_FOUND (3). `kindBelow` is the kind of the
// result.
FilePath ResolveBelow(std::string start, const std::vector<std::string_view>& parts,
                      PathKind kindBelow);

// ForgetCaseLookups: empties the cache (tests; a process that re-points its
// device root).
void ForgetCaseLookups();

}  // namespace platform
