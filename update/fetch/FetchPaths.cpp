// Forming and checking the names of one fetch.
#include "update/fetch/FetchPaths.h"

#include "palmsettings/SettingsLayout.h"

namespace update {

std::string DownloadFolder(std::string_view updateFolder) {
  if (updateFolder.empty()) return {};
  std::string folder(updateFolder);
  folder += '\\';
  folder += palmsettings::kDownloadFolderName;
  return folder;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("\\/:") == std::string_view::npos;
}

bool FormFetchPaths(std::string_view address, std::string_view folder, std::string_view name,
                    FetchPaths& out) {
  if (folder.empty() || !IsPlainFileName(name)) return false;
  out.source = std::string(address) + "/" + std::string(name);
  out.target = std::string(folder) + "\\" + std::string(name);
  out.temporary = out.target + std::string(kTemporarySuffix);
  return out.source.size() <= kFetchTextLimit && out.temporary.size() <= kFetchTextLimit;
}

}  // namespace update
