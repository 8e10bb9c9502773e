// ConduitModule: a conduit library loaded by the HotSync manager with its five exports bound.
#pragma once

#include <cstdint>
#include <string_view>

#include "outside/hotsync/ConduitApi.h"
#include "platform/Module.h"

namespace hotsync {

// ConduitModule: owns the loaded conduit; the functions are null until Load
// succeeds.
class ConduitModule {
 public:
  // Load: loads the conduit by module name ("ZEPPalm.dll") or path and binds
  // OpenConduit, GetConduitName, GetConduitVersion, GetConduitInfo and
  // CfgConduit. Returns 0, the Win32 code of the load, or
  // ERROR_PROC_NOT_FOUND (127) when an export is missing (then unloaded).
  uint32_t Load(std::string_view name);

  bool loaded() const { return module_.loaded(); }
  const std::string& path() const { return module_.path(); }

  OpenConduitFn OpenConduit = nullptr;
  GetConduitNameFn GetConduitName = nullptr;
  GetConduitVersionFn GetConduitVersion = nullptr;
  GetConduitInfoFn GetConduitInfo = nullptr;
  CfgConduitFn CfgConduit = nullptr;

 private:
  platform::Module module_;
};

}  // namespace hotsync
