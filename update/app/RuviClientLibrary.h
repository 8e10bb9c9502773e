// The control centre's client library, located, loaded and resolved by name.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Module.h"
#include "update/app/RuviClientApi.h"

namespace update {

// Where the control centre keeps its shared files: HKEY_LOCAL_MACHINE, this
// key's text value "Folder".
inline constexpr char kSharedFilesKey[] = "Software\\QuillmarkLab\\SharedFiles";
inline constexpr char kSharedFilesValue[] = "Folder";
inline constexpr char kClientLibraryName[] = "RuviClient.dll";

// RuviClientFunctions: the library's functions. The optional ones may be
// null; in a loaded library every required one is set.
struct RuviClientFunctions {
  // Optional.
  RuviClientSendStatusExFn SendStatusEx = nullptr;
  RuviClientUpdateSettingsFn UpdateSettings = nullptr;
  RuviClientPlaceFileToQuarantineFn PlaceFileToQuarantine = nullptr;
  // Required, in the order they are resolved.
  RuviClientInitFn Init = nullptr;
  RuviClientInitExFn InitEx = nullptr;
  RuviClientDoneFn Done = nullptr;
  RuviClientIsComponentWorksWithRuviFn IsComponentWorksWithRuvi = nullptr;
  RuviClientGetTaskNameFn GetTaskName = nullptr;
  RuviClientRegisterClientCallbackFn RegisterClientCallback = nullptr;
  RuviClientRecvDataFromRuviFn RecvDataFromRuvi = nullptr;
  RuviClientSendDataToRuviFn SendDataToRuvi = nullptr;
  RuviClientSendStatusFn SendStatus = nullptr;
  RuviClientSendAlertFn SendAlert = nullptr;
  RuviClientSendStatisticsFn SendStatistics = nullptr;
  RuviClientWriteReportStrFn WriteReportStr = nullptr;
  RuviClientSendEventFn SendEvent = nullptr;
  RuviClientSendCustomCommandFn SendCustomCommand = nullptr;
  RuviClientNeedRestartFn NeedRestart = nullptr;
  RuviClientIOLockFolderFn IOLockFolder = nullptr;
  RuviClientIOUnLockFolderFn IOUnLockFolder = nullptr;
  RuviClientIOCreateDirectoryFn IOCreateDirectory = nullptr;
  RuviClientIOAccessFn IOAccess = nullptr;
  RuviClientIOGetFileSizeFn IOGetFileSize = nullptr;
  RuviClientIOCreateFileFn IOCreateFile = nullptr;
  RuviClientIOSetFilePointerFn IOSetFilePointer = nullptr;
  RuviClientIOWriteFileFn IOWriteFile = nullptr;
  RuviClientIOReadFileFn IOReadFile = nullptr;
  RuviClientIOCloseHandleFn IOCloseHandle = nullptr;
  RuviClientIOFindFirstFileFn IOFindFirstFile = nullptr;
  RuviClientIOFindNextFileFn IOFindNextFile = nullptr;
  RuviClientIOFindCloseFn IOFindClose = nullptr;
};

// RuviClientLibrary: the loaded library and its resolved functions.
class RuviClientLibrary {
 public:
  // Load: loads the library from the shared-files folder, else through the
  // module search order, and resolves every function. Returns 0; 126 when
  // the library does not load; 127 when a required function is missing
  // (then the library is unloaded and every function forgotten).
  uint32_t Load();

  // Unload: releases the library and forgets every function.
  void Unload();

  bool loaded() const { return module_.loaded(); }
  // path: the host file that was loaded.
  const std::string& path() const { return module_.path(); }
  const RuviClientFunctions& functions() const { return functions_; }

 private:
  bool ResolveAll();

  platform::Module module_;
  RuviClientFunctions functions_;
};

// ClientLibraryPath: the shared-files folder from the registry (empty when
// the key or value is missing), a backslash unless it ends with one, and
// "RuviClient.dll".
std::string ClientLibraryPath();

}  // namespace update
