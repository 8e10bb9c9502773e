// The three names one fetch works with: the source address, the target and its temporary file.
#pragma once

#include <string>
#include <string_view>

namespace update {

// kTemporarySuffix: what the temporary file adds to the target's name.
inline constexpr std::string_view kTemporarySuffix = ".tmp";

// kFetchTextLimit: the longest text of each name, 256 bytes with the
// terminator, as the fields they were always formed in.
inline constexpr size_t kFetchTextLimit = 255;

// FetchPaths: the source address (address + "/" + name), the target (the
// name in the destination folder, joined with a backslash) and the
// temporary file (the target + ".tmp").
struct FetchPaths {
  std::string source;
  std::string target;
  std::string temporary;
};

// DownloadFolder: the destination folder of fetched files, the "Download"
// subfolder of the update folder; empty when the update folder is empty.
// Files wait there until a run's set is complete and is promoted together.
std::string DownloadFolder(std::string_view updateFolder);

// IsPlainFileName: a name that stays inside its folder: not empty, not "."
// or "..", no separator and no drive colon. File names come from the
// registry; any other would write elsewhere on the disk.
bool IsPlainFileName(std::string_view name);

// FormFetchPaths: the three names for fetching `name` from `address` into
// `folder`. False, with `out` unspecified, when the name is not a plain file
// name, the folder is empty, or a name would pass kFetchTextLimit (rather
// than fetching or writing a name cut short).
bool FormFetchPaths(std::string_view address, std::string_view folder, std::string_view name,
                    FetchPaths& out);

}  // namespace update
