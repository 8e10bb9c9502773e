// HsLog20Library: the HotSync log library loaded by name and its exports bound.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outside/hslog20/HsLog20Api.h"
#include "platform/Module.h"

namespace hslog20 {

// HsLog20Library: owns the loaded "HsLog20.dll" and the addresses of its
// exports; null until Load succeeds (or set by hand in a caller's tests).
class HsLog20Library {
 public:
  // Load: loads the library and binds its exports. Returns 0, the Win32
  // code of the load, or ERROR_PROC_NOT_FOUND (127) when an export is
  // missing; a failure leaves the members null.
  uint32_t Load(const std::vector<std::string>& extraDirs = {});

  // Unload: releases the library and nulls the members.
  void Unload();

  bool loaded() const { return module_.loaded(); }

  LogAddEntryFn LogAddEntry = nullptr;  // 52
  QmLogPathFn LogPath = nullptr;

 private:
  platform::Module module_;
};

}  // namespace hslog20
