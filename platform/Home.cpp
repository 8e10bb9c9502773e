// State locations of the suite.
#include "platform/Home.h"

#include <cstdlib>
#include <filesystem>

#include "platform/Errors.h"

namespace platform {

std::string HomeFolder() {
  if (const char* home = std::getenv("QM_HOME"); home && *home) return home;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
    return std::string(xdg) + "/quillmark";
  const char* user = std::getenv("HOME");
  return std::string(user && *user ? user : "/tmp") + "/.local/share/quillmark";
}

std::string StatePath(const char* envVar, std::string_view relative) {
  if (const char* v = std::getenv(envVar); v && *v) return v;
  return HomeFolder() + "/" + std::string(relative);
}

uint32_t EnsureFolder(const std::string& hostPath) {
  std::error_code ec;
  std::filesystem::create_directories(hostPath, ec);
  if (ec) {
    SetLastError(Win32FromErrno(ec.value()));
    return GetLastError();
  }
  return ERROR_SUCCESS;
}

}  // namespace platform
