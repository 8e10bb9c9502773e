// Finding the client library and resolving its exports.
#include "update/app/RuviClientLibrary.h"

#include "platform/Errors.h"
#include "platform/RegKey.h"
#include "platform/Registry.h"

namespace update {

namespace {

// kFolderBytes: the buffer the folder is read into, terminator included.
constexpr size_t kFolderBytes = 260;

template <typename Fn>
bool Resolve(const platform::Module& module, const char* name, Fn& out) {
  out = module.Function<Fn>(name);
  return out != nullptr;
}

}  // namespace

std::string ClientLibraryPath() {
  std::string folder;
  platform::RegKey key;
  if (key.Open(platform::HKEY_LOCAL_MACHINE, kSharedFilesKey, platform::RegAccess::Read) == 0 &&
      key.QueryString(kSharedFilesValue, &folder) != 0)
    folder.clear();
  if (folder.size() >= kFolderBytes) folder.clear();  // longer than the folder can be
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder + kClientLibraryName;
}

uint32_t RuviClientLibrary::Load() {
  Unload();
  if (module_.Load(ClientLibraryPath()) != 0 && module_.Load(kClientLibraryName) != 0)
    return platform::ERROR_MOD_NOT_FOUND;
  if (!ResolveAll()) {
    Unload();
    return platform::ERROR_PROC_NOT_FOUND;
  }
  return 0;
}

void RuviClientLibrary::Unload() {
  functions_ = {};
  module_.Unload();
}

bool RuviClientLibrary::ResolveAll() {
  const platform::Module& m = module_;
  RuviClientFunctions& f = functions_;
  Resolve(m, "RuviClientSendStatusEx", f.SendStatusEx);
  Resolve(m, "RuviClientUpdateSettings", f.UpdateSettings);
  Resolve(m, "RuviClientPlaceFileToQuarantine", f.PlaceFileToQuarantine);
  return Resolve(m, "RuviClientInit", f.Init) && Resolve(m, "RuviClientInitEx", f.InitEx) &&
         Resolve(m, "RuviClientDone", f.Done) &&
         Resolve(m, "RuviClientIsComponentWorksWithRuvi", f.IsComponentWorksWithRuvi) &&
         Resolve(m, "RuviClientGetTaskName", f.GetTaskName) &&
         Resolve(m, "RuviClientRegisterClientCallback", f.RegisterClientCallback) &&
         Resolve(m, "RuviClientRecvDataFromRuvi", f.RecvDataFromRuvi) &&
         Resolve(m, "RuviClientSendDataToRuvi", f.SendDataToRuvi) &&
         Resolve(m, "RuviClientSendStatus", f.SendStatus) &&
         Resolve(m, "RuviClientSendAlert", f.SendAlert) &&
         Resolve(m, "RuviClientSendStatistics", f.SendStatistics) &&
         Resolve(m, "RuviClientWriteReportStr", f.WriteReportStr) &&
         Resolve(m, "RuviClientSendEvent", f.SendEvent) &&
         Resolve(m, "RuviClientSendCustomCommand", f.SendCustomCommand) &&
         Resolve(m, "RuviClientNeedRestart", f.NeedRestart) &&
         Resolve(m, "RuviClientIOLockFolder", f.IOLockFolder) &&
         Resolve(m, "RuviClientIOUnLockFolder", f.IOUnLockFolder) &&
         Resolve(m, "RuviClientIOCreateDirectory", f.IOCreateDirectory) &&
         Resolve(m, "RuviClientIOAccess", f.IOAccess) &&
         Resolve(m, "RuviClientIOGetFileSize", f.IOGetFileSize) &&
         Resolve(m, "RuviClientIOCreateFile", f.IOCreateFile) &&
         Resolve(m, "RuviClientIOSetFilePointer", f.IOSetFilePointer) &&
         Resolve(m, "RuviClientIOWriteFile", f.IOWriteFile) &&
         Resolve(m, "RuviClientIOReadFile", f.IOReadFile) &&
         Resolve(m, "RuviClientIOCloseHandle", f.IOCloseHandle) &&
         Resolve(m, "RuviClientIOFindFirstFile", f.IOFindFirstFile) &&
         Resolve(m, "RuviClientIOFindNextFile", f.IOFindNextFile) &&
         Resolve(m, "RuviClientIOFindClose", f.IOFindClose);
}

}  // namespace update
