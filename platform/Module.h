// Loadable modules: "X.dll" names resolve to "X.so" files, as LoadLibrary would.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// ModuleFileName: the host file name for a Windows module name ("ZSCrypt.dll"
// → "ZSCrypt.so"; a name without ".dll" gains ".so"; any directory kept).
std::string ModuleFileName(std::string_view windowsName);

// ProgramFolder: the host folder of the running program (or of the test).
std::string ProgramFolder();

// Module: one loaded module, unloaded by Unload() or the destructor.
class Module {
 public:
  Module() = default;
  Module(Module&& other) noexcept;
  Module& operator=(Module&& other) noexcept;
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
  ~Module();

  // Load: a name with a directory part is loaded from that host path;
  // a bare name is searched in extraDirs, then the program folder, then
  // the folders in QM_MODULE_PATH (colon-separated), then the system. Returns
  // 0 on success, else the Win32 code (126 when no file loads), which is also
  // the thread's last error.
  uint32_t Load(std::string_view windowsName, const std::vector<std::string>& extraDirs = {});

  // Symbol: the address of an exported name, or null with last error 127.
  void* Symbol(const char* name) const;

  template <typename Fn>
  Fn Function(const char* name) const {
    return reinterpret_cast<Fn>(Symbol(name));
  }

  // Unload: releases the module; true when it was loaded.
  bool Unload();

  bool loaded() const { return handle_ != nullptr; }
  const std::string& path() const { return path_; }

 private:
  void* handle_ = nullptr;
  std::string path_;
};

}  // namespace platform
