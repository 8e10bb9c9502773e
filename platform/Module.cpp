// dlopen-based module loading with the Windows search order of the suite.
#include "platform/Module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/CaseLookup.h"
#include "platform/DesktopPath.h"
#include "platform/Errors.h"
#include "platform/PathName.h"

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

Module::~Module() {
  Unload();
}

namespace {

// LoadFailure: the Windows code for a present file that would not load: 193
// when it is not a shared object at all, else 126 (as Windows reports a
// module whose own dependencies are missing).
uint32_t LoadFailure(const std::string& path) {
  static constexpr char kElfMagic[4] = {0x7f, 'E', 'L', 'F'};
  char magic[4] = {};
  std::FILE* f = std::fopen(path.c_str(), "rb");
  const size_t got = f ? std::fread(magic, 1, sizeof magic, f) : 0;
  if (f) std::fclose(f);
  const bool elf = got == sizeof magic && std::memcmp(magic, kElfMagic, sizeof magic) == 0;
  return elf ? ERROR_MOD_NOT_FOUND : ERROR_BAD_EXE_FORMAT;
}

// DesktopModulePath: the host file of a module named by a desktop drive path
// ("C:\ZEPP\Dodo_voz.dll"): its folder resolved as every desktop path is, its
// file matched exactly and then regardless of case. Empty when the folder
// does not resolve.
std::string DesktopModulePath(std::string_view windowsName) {
  const auto [folder, name] = SplitLastComponent(windowsName);
  const FilePath resolved = ResolveDesktopPath(folder.empty() ? windowsName.substr(0, 2) : folder);
  if (!resolved.ok()) return {};
  const std::string file = ModuleFileName(folder.empty() ? name.substr(2) : name);
  std::string real;
  HostStatus status;
  if (access(JoinHost(resolved.host, file).c_str(), F_OK) != 0 &&
      FindNameIgnoringCase(resolved.host, file, real, status) == ERROR_SUCCESS)
    return JoinHost(resolved.host, real);
  return JoinHost(resolved.host, file);
}

bool HasDrive(std::string_view name) {
  return name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
}

}  // namespace

uint32_t Module::Load(std::string_view windowsName, const std::vector<std::string>& extraDirs) {
  Unload();
  std::string file = ModuleFileName(windowsName);
  std::vector<std::string> candidates;
  if (HasDrive(windowsName)) {
    file = DesktopModulePath(windowsName);
    if (file.empty()) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return ERROR_MOD_NOT_FOUND;
    }
    candidates.push_back(file);
  } else if (file.find('/') != std::string::npos) {
    candidates.push_back(file);
  } else {
    // Windows looks in the program's own folder first.
    candidates.push_back(ProgramFolder() + "/" + file);
    for (const auto& d : extraDirs) candidates.push_back(d + "/" + file);
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
    const bool systemSearch = c.find('/') == std::string::npos;
    // Absent files are passed over; the first present one is the module, and
    // if it does not load the search ends there, as on Windows.
    if (!systemSearch && access(c.c_str(), F_OK) != 0) continue;
    if (void* h = dlopen(c.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      handle_ = h;
      path_ = c;
      SetLastError(ERROR_SUCCESS);
      return ERROR_SUCCESS;
    }
    if (!systemSearch) {
      const uint32_t code = LoadFailure(c);
      SetLastError(code);
      return code;
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
