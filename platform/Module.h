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

  // Load: a desktop drive path ("C:\ZEPP\Dodo_voz.dll") is resolved as
  // desktop paths are (its file name also regardless of case); another name
  // with a directory part is loaded from that host path; a bare name is
  // searched in the program folder, then extraDirs, then the folders in
  // QM_MODULE_PATH (colon-separated), then the system. The first file found
  // is the one loaded. Returns 0 on success, else the Win32 code, which is
  // also the thread's last error: 126 when no file is found (or the one
  // found lacks a library it needs), 193 when the file found is not a shared
  // object.
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
