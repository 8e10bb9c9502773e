// dlopen-based module loading with the Windows search order of the suite.
#include "platform/Module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Errors.h"

namespace platform {

std::string ModuleFileName(std::string_view windowsName) {
  std::string name(windowsName);
  for (auto& c : name)
    if (c == '\\') c = '/';
  const auto dot = name.rfind('.');
  const auto slash = name.rfind('/');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (hasExt) {
    std::string ext = name.substr(dot);
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".dll" || ext == ".exe" || ext == ".so") name.erase(dot);
  }
  return name + ".so";
}

std::string ProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return exe.parent_path().string();
}

Module::Module(Module&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) {
  other.handle_ = nullptr;
}

Module& Module::operator=(Module&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    other.handle_ = nullptr;
  }
  return *this;
}

Module::~Module() { Unload(); }

uint32_t Module::Load(std::string_view windowsName, const std::vector<std::string>& extraDirs) {
  Unload();
  const std::string file = ModuleFileName(windowsName);
  std::vector<std::string> candidates;
  if (file.find('/') != std::string::npos) {
    candidates.push_back(file);
  } else {
    for (const auto& d : extraDirs) candidates.push_back(d + "/" + file);
    candidates.push_back(ProgramFolder() + "/" + file);
    if (const char* extra = std::getenv("QM_MODULE_PATH")) {
      std::string_view rest(extra);
      while (!rest.empty()) {
        const auto colon = rest.find(':');
        const auto dir = rest.substr(0, colon);
        if (!dir.empty()) candidates.push_back(std::string(dir) + "/" + file);
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
      }
    }
    candidates.push_back(file);  // the system's own search
  }
  for (const auto& c : candidates) {
    // Only system-searched names may be missing on disk; skip absent files
    // quickly so that a broken but present module is the one reported.
    if (c.find('/') != std::string::npos && access(c.c_str(), F_OK) != 0) continue;
    if (void* h = dlopen(c.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      handle_ = h;
      path_ = c;
      SetLastError(ERROR_SUCCESS);
      return ERROR_SUCCESS;
    }
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return ERROR_MOD_NOT_FOUND;
}

void* Module::Symbol(const char* name) const {
  if (!handle_) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  void* p = dlsym(handle_, name);
  if (!p) SetLastError(ERROR_PROC_NOT_FOUND);
  return p;
}

bool Module::Unload() {
  if (!handle_) return false;
  dlclose(handle_);
  handle_ = nullptr;
  path_.clear();
  return true;
}

}  // namespace platform
