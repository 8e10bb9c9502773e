// Loading a conduit and binding its exports.
#include "outside/hotsync/ConduitModule.h"

#include "platform/Errors.h"

namespace hotsync {

uint32_t ConduitModule::Load(std::string_view name) {
  if (const uint32_t rc = module_.Load(name); rc != 0) return rc;
  OpenConduit = module_.Function<OpenConduitFn>("OpenConduit");
  GetConduitName = module_.Function<GetConduitNameFn>("GetConduitName");
  GetConduitVersion = module_.Function<GetConduitVersionFn>("GetConduitVersion");
  GetConduitInfo = module_.Function<GetConduitInfoFn>("GetConduitInfo");
  CfgConduit = module_.Function<CfgConduitFn>("CfgConduit");
  if (!OpenConduit || !GetConduitName || !GetConduitVersion || !GetConduitInfo || !CfgConduit) {
    OpenConduit = nullptr;
    GetConduitName = nullptr;
    GetConduitVersion = nullptr;
    GetConduitInfo = nullptr;
    CfgConduit = nullptr;
    module_.Unload();
    return platform::ERROR_PROC_NOT_FOUND;
  }
  return 0;
}

}  // namespace hotsync
