// Resolution of desktop drive paths and relative paths to host paths.
#include "platform/DesktopPath.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "platform/CaseLookup.h"
#include "platform/Errors.h"
#include "platform/Home.h"
#include "platform/PathName.h"

namespace platform {

namespace {
bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

FilePath Failed(uint32_t code) {
  FilePath r;
  r.error = code;
  return r;
}

std::string CurrentFolder() {
  std::string buf(4096, '\0');
  while (::getcwd(buf.data(), buf.size()) == nullptr) {
    if (errno != ERANGE) return "/";
    buf.resize(buf.size() * 2);
  }
  buf.resize(std::char_traits<char>::length(buf.c_str()));
  return buf;
}
}  // namespace

std::string DriveFolder(char letter) {
  const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (up < 'A' || up > 'Z') return {};
  if (up == 'C') return StatePath("QM_DRIVE_C", "drive_c");
  const std::string var = std::string("QM_DRIVE_") + up;
  const char* v = std::getenv(var.c_str());
  return v && *v ? std::string(v) : std::string();
}

FilePath ResolveDesktopPath(std::string_view path) {
  if (path.empty()) return Failed(ERROR_PATH_NOT_FOUND);
  std::string start;
  std::string joined;  // components of the current folder and the relative path
  std::string_view rest = path;
  // Only a letter makes a drive; "1:x" is a name holding ':' and is refused
  // below like any other.
  const bool hasDrive =
      path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
  // The caller's own components are checked; the host's current folder may
  // hold names Windows would refuse, and still works.
  for (auto p : SplitComponents(hasDrive ? path.substr(2) : path))
    if (!IsValidName(p)) return Failed(ERROR_INVALID_NAME);
  if (hasDrive) {
    start = DriveFolder(path[0]);
    if (start.empty()) return Failed(ERROR_PATH_NOT_FOUND);
    rest = path.substr(2);
  } else if (IsSeparator(path[0])) {
    if (path.size() >= 2 && IsSeparator(path[1])) return Failed(ERROR_PATH_NOT_FOUND);
    start = "/";
  } else {
    // ".." may climb out of the current folder, as on Windows, but not past
    // the root: the folder's own components join the path before ".." is
    // applied.
    start = "/";
    joined = CurrentFolder();
    joined += '/';
    joined += path;
    rest = joined;
  }
  const std::vector<std::string_view> parts = SplitComponents(rest);
  while (start.size() > 1 && start.back() == '/') start.pop_back();
  if (parts.empty()) {
    FilePath r;
    r.host = start;
    return r;
  }
  return ResolveBelow(start, parts, PathKind::Plain);
}

}  // namespace platform
