// State locations of the suite.
#include "platform/Home.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

#include "platform/Errors.h"

namespace platform {
namespace {

std::mutex gOverridesMutex;
std::map<std::string, std::string, std::less<>>& Overrides() {
  static std::map<std::string, std::string, std::less<>> overrides;
  return overrides;
}

}  // namespace

std::string HomeFolder() {
  if (const char* home = std::getenv("QM_HOME"); home && *home) return home;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
    return std::string(xdg) + "/quillmark";
  const char* user = std::getenv("HOME");
  return std::string(user && *user ? user : "/tmp") + "/.local/share/quillmark";
}

void OverrideStatePath(const char* envVar, std::string value) {
  std::lock_guard lock(gOverridesMutex);
  if (value.empty())
    Overrides().erase(envVar);
  else
    Overrides()[envVar] = std::move(value);
}

std::string StatePath(const char* envVar, std::string_view relative) {
  {
    std::lock_guard lock(gOverridesMutex);
    if (auto it = Overrides().find(std::string_view(envVar)); it != Overrides().end())
      return it->second;
  }
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
