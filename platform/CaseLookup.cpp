// Case-insensitive folder entry lookup with a bounded cache of folded listings.
#include "platform/CaseLookup.h"

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/Errors.h"
#include "platform/PathName.h"

namespace platform {

namespace {
using Listing = std::unordered_map<std::string, std::string>;  // folded → real

// A scan of 10,000 files revisits the same folders; a few hundred cached
// listings cover a walk without letting memory grow with the tree.
constexpr size_t kMaxCachedFolders = 256;

struct Cache {
  std::mutex lock;
  std::unordered_map<std::string, std::shared_ptr<const Listing>> folders;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

std::shared_ptr<const Listing> Cached(const std::string& folder) {
  Cache& c = TheCache();
  std::lock_guard<std::mutex> guard(c.lock);
  auto it = c.folders.find(folder);
  return it == c.folders.end() ? nullptr : it->second;
}

uint32_t Relist(const std::string& folder, std::shared_ptr<const Listing>& out) {
  auto listing = std::make_shared<Listing>();
  const uint32_t rc = HostListFolder(folder, [&](std::string_view name) {
    listing->emplace(FoldName(name), std::string(name));
    return true;
  });
  if (rc != ERROR_SUCCESS) return rc;
  Cache& c = TheCache();
  std::lock_guard<std::mutex> guard(c.lock);
  if (c.folders.size() >= kMaxCachedFolders) c.folders.clear();
  c.folders[folder] = listing;
  out = std::move(listing);
  return ERROR_SUCCESS;
}

bool Lookup(const Listing& listing, const std::string& folder, const std::string& folded,
            std::string& realName, HostStatus& status) {
  auto it = listing.find(folded);
  if (it == listing.end()) return false;
  if (HostStat(JoinHost(folder, it->second), status) != ERROR_SUCCESS) return false;
  realName = it->second;
  return true;
}
FilePath FailedPath(uint32_t code) {
  FilePath r;
  r.error = code;
  return r;
}
}  // namespace

uint32_t FindNameIgnoringCase(const std::string& folder, std::string_view name,
                              std::string& realName, HostStatus& status) {
  const std::string folded = FoldName(name);
  if (auto listing = Cached(folder); listing && Lookup(*listing, folder, folded, realName, status))
    return ERROR_SUCCESS;
  std::shared_ptr<const Listing> fresh;
  if (const uint32_t rc = Relist(folder, fresh); rc != ERROR_SUCCESS) return rc;
  return Lookup(*fresh, folder, folded, realName, status) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

FilePath ResolveBelow(std::string start, const std::vector<std::string_view>& parts,
                      PathKind kindBelow) {
  FilePath r;
  r.kind = kindBelow;
  std::string full = start;
  for (auto p : parts) full = JoinHost(full, p);
  HostStatus st;
  if (HostStat(full, st) == ERROR_SUCCESS) {
    r.host = std::move(full);
    return r;
  }
  std::string cur = std::move(start);
  for (size_t i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    std::string candidate = JoinHost(cur, parts[i]);
    uint32_t rc = HostStat(candidate, st);
    if (rc == ERROR_SUCCESS) {
      if (!last && !st.isFolder) return FailedPath(ERROR_PATH_NOT_FOUND);
      cur = std::move(candidate);
      continue;
    }
    if (rc != ERROR_FILE_NOT_FOUND && rc != ERROR_PATH_NOT_FOUND) return FailedPath(rc);
    std::string real;
    rc = FindNameIgnoringCase(cur, parts[i], real, st);
    if (rc == ERROR_SUCCESS) {
      if (!last && !st.isFolder) return FailedPath(ERROR_PATH_NOT_FOUND);
      if (last) r.hostAsGiven = candidate;
      cur = JoinHost(cur, real);
    } else if (last) {
      cur = std::move(candidate);  // a name to be created keeps the caller's spelling
    } else {
      return FailedPath(rc == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : rc);
    }
  }
  r.host = std::move(cur);
  return r;
}

void ForgetCaseLookups() {
  Cache& c = TheCache();
  std::lock_guard<std::mutex> guard(c.lock);
  c.folders.clear();
}

}  // namespace platform
