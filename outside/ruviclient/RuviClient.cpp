// RuviClient: the control centre's client library as a task sees it. Every export records its call;
// the ones a task relies on keep the callbacks, the memory functions and the control socket.
#include <cstdint>
#include <string>
#include <type_traits>

#include "outside/ruviclient/CallLog.h"
#include "outside/ruviclient/ClientState.h"
#include "update/app/RuviClientApi.h"

#define RUVI_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using ruviclient::ClientState;
using ruviclient::LogCall;

std::string Text(const char* text) {
  return text ? "\"" + std::string(text) + "\"" : "null";
}

const char* Given(const void* p) {
  return p ? "set" : "null";
}

// Logged: records a call that the stand-in does not carry out; 0 = refused.
int Logged(const std::string& line) {
  LogCall(line);
  return 0;
}

}  // namespace

RUVI_EXPORT int RuviClientInit() {
  LogCall("RuviClientInit");
  return ClientState::Instance().Initialise(nullptr, nullptr) == 0 ? 1 : 0;
}

RUVI_EXPORT int RuviClientInitEx(int component, int flags, RuviAllocate allocate,
                                 RuviRelease release) {
  LogCall("RuviClientInitEx " + std::to_string(component) + " " + std::to_string(flags) + " " +
          Given(reinterpret_cast<const void*>(allocate)) + " " +
          Given(reinterpret_cast<const void*>(release)));
  const uint32_t rc = ClientState::Instance().Initialise(allocate, release);
  if (rc != 0) LogCall("control socket failed " + std::to_string(rc));
  return rc == 0 ? 1 : 0;
}

RUVI_EXPORT int RuviClientDone() {
  LogCall("RuviClientDone");
  ClientState::Instance().Done();
  return 1;
}

RUVI_EXPORT int RuviClientRegisterClientCallback(int command, RuviCommandCallback callback) {
  LogCall("RuviClientRegisterClientCallback " + std::to_string(command) + " " +
          Given(reinterpret_cast<const void*>(callback)));
  return ClientState::Instance().Register(command, callback) ? 1 : 0;
}

RUVI_EXPORT int RuviClientSendStatus(int status) {
  LogCall("RuviClientSendStatus " + std::to_string(status));
  return 1;
}

RUVI_EXPORT int RuviClientSendStatusEx(int status, int percent) {
  LogCall("RuviClientSendStatusEx " + std::to_string(status) + " " + std::to_string(percent));
  return 1;
}

RUVI_EXPORT int RuviClientIsComponentWorksWithRuvi(int component) {
  LogCall("RuviClientIsComponentWorksWithRuvi " + std::to_string(component));
  return 1;
}

RUVI_EXPORT int RuviClientGetTaskName(char* buffer, int size) {
  LogCall("RuviClientGetTaskName " + std::to_string(size));
  const std::string name = ClientState::Instance().TaskName();
  if (buffer == nullptr || size <= 0 || name.size() >= static_cast<size_t>(size)) return 0;
  name.copy(buffer, name.size());
  buffer[name.size()] = '\0';
  return 1;
}

// The rest are resolved by a task but never called; the stand-in records a
// call and refuses it.
RUVI_EXPORT int RuviClientRecvDataFromRuvi(void*, int size) {
  return Logged("RuviClientRecvDataFromRuvi " + std::to_string(size));
}
RUVI_EXPORT int RuviClientSendDataToRuvi(const void*, int size) {
  return Logged("RuviClientSendDataToRuvi " + std::to_string(size));
}
RUVI_EXPORT int RuviClientSendAlert(int alert, const char* text) {
  return Logged("RuviClientSendAlert " + std::to_string(alert) + " " + Text(text));
}
RUVI_EXPORT int RuviClientSendStatistics(const void*, int size) {
  return Logged("RuviClientSendStatistics " + std::to_string(size));
}
RUVI_EXPORT int RuviClientWriteReportStr(const char* text) {
  return Logged("RuviClientWriteReportStr " + Text(text));
}
RUVI_EXPORT int RuviClientSendEvent(int event, const char* text) {
  return Logged("RuviClientSendEvent " + std::to_string(event) + " " + Text(text));
}
RUVI_EXPORT int RuviClientSendCustomCommand(int command, const void*, int size) {
  return Logged("RuviClientSendCustomCommand " + std::to_string(command) + " " +
                std::to_string(size));
}
RUVI_EXPORT int RuviClientNeedRestart() {
  return Logged("RuviClientNeedRestart");
}
RUVI_EXPORT int RuviClientUpdateSettings() {
  return Logged("RuviClientUpdateSettings");
}
RUVI_EXPORT int RuviClientPlaceFileToQuarantine(const char* path) {
  return Logged("RuviClientPlaceFileToQuarantine " + Text(path));
}
RUVI_EXPORT int RuviClientIOLockFolder(const char* folder) {
  return Logged("RuviClientIOLockFolder " + Text(folder));
}
RUVI_EXPORT int RuviClientIOUnLockFolder(const char* folder) {
  return Logged("RuviClientIOUnLockFolder " + Text(folder));
}
RUVI_EXPORT int RuviClientIOCreateDirectory(const char* path) {
  return Logged("RuviClientIOCreateDirectory " + Text(path));
}
RUVI_EXPORT int RuviClientIOAccess(const char* path, int mode) {
  return Logged("RuviClientIOAccess " + Text(path) + " " + std::to_string(mode));
}
RUVI_EXPORT int RuviClientIOGetFileSize(void*, uint32_t*) {
  return Logged("RuviClientIOGetFileSize");
}
RUVI_EXPORT int RuviClientIOCreateFile(const char* path, uint32_t access, uint32_t share,
                                       uint32_t disposition, void** file) {
  if (file) *file = nullptr;
  return Logged("RuviClientIOCreateFile " + Text(path) + " " + std::to_string(access) + " " +
                std::to_string(share) + " " + std::to_string(disposition));
}
RUVI_EXPORT int RuviClientIOSetFilePointer(void*, int32_t distance, uint32_t origin) {
  return Logged("RuviClientIOSetFilePointer " + std::to_string(distance) + " " +
                std::to_string(origin));
}
RUVI_EXPORT int RuviClientIOWriteFile(void*, const void*, uint32_t size, uint32_t* written) {
  if (written) *written = 0;
  return Logged("RuviClientIOWriteFile " + std::to_string(size));
}
RUVI_EXPORT int RuviClientIOReadFile(void*, void*, uint32_t size, uint32_t* read) {
  if (read) *read = 0;
  return Logged("RuviClientIOReadFile " + std::to_string(size));
}
RUVI_EXPORT int RuviClientIOCloseHandle(void*) {
  return Logged("RuviClientIOCloseHandle");
}
RUVI_EXPORT int RuviClientIOFindFirstFile(const char* pattern, void*, void** find) {
  if (find) *find = nullptr;
  return Logged("RuviClientIOFindFirstFile " + Text(pattern));
}
RUVI_EXPORT int RuviClientIOFindNextFile(void*, void*) {
  return Logged("RuviClientIOFindNextFile");
}
// The test build of an incomplete library leaves this one out.
#ifndef RUVICLIENT_WITHOUT_FIND_CLOSE
RUVI_EXPORT int RuviClientIOFindClose(void*) {
  return Logged("RuviClientIOFindClose");
}
#endif

// Every export has the type a task resolves it with.
static_assert(std::is_same_v<decltype(&RuviClientInit), RuviClientInitFn>);
static_assert(std::is_same_v<decltype(&RuviClientInitEx), RuviClientInitExFn>);
static_assert(std::is_same_v<decltype(&RuviClientDone), RuviClientDoneFn>);
static_assert(std::is_same_v<decltype(&RuviClientIsComponentWorksWithRuvi),
                             RuviClientIsComponentWorksWithRuviFn>);
static_assert(std::is_same_v<decltype(&RuviClientGetTaskName), RuviClientGetTaskNameFn>);
static_assert(std::is_same_v<decltype(&RuviClientRegisterClientCallback),
                             RuviClientRegisterClientCallbackFn>);
static_assert(std::is_same_v<decltype(&RuviClientRecvDataFromRuvi), RuviClientRecvDataFromRuviFn>);
static_assert(std::is_same_v<decltype(&RuviClientSendDataToRuvi), RuviClientSendDataToRuviFn>);
static_assert(std::is_same_v<decltype(&RuviClientSendStatus), RuviClientSendStatusFn>);
static_assert(std::is_same_v<decltype(&RuviClientSendStatusEx), RuviClientSendStatusExFn>);
static_assert(std::is_same_v<decltype(&RuviClientSendAlert), RuviClientSendAlertFn>);
static_assert(std::is_same_v<decltype(&RuviClientSendStatistics), RuviClientSendStatisticsFn>);
static_assert(std::is_same_v<decltype(&RuviClientWriteReportStr), RuviClientWriteReportStrFn>);
static_assert(std::is_same_v<decltype(&RuviClientSendEvent), RuviClientSendEventFn>);
static_assert(
    std::is_same_v<decltype(&RuviClientSendCustomCommand), RuviClientSendCustomCommandFn>);
static_assert(std::is_same_v<decltype(&RuviClientNeedRestart), RuviClientNeedRestartFn>);
static_assert(std::is_same_v<decltype(&RuviClientUpdateSettings), RuviClientUpdateSettingsFn>);
static_assert(
    std::is_same_v<decltype(&RuviClientPlaceFileToQuarantine), RuviClientPlaceFileToQuarantineFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOLockFolder), RuviClientIOLockFolderFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOUnLockFolder), RuviClientIOUnLockFolderFn>);
static_assert(
    std::is_same_v<decltype(&RuviClientIOCreateDirectory), RuviClientIOCreateDirectoryFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOAccess), RuviClientIOAccessFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOGetFileSize), RuviClientIOGetFileSizeFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOCreateFile), RuviClientIOCreateFileFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOSetFilePointer), RuviClientIOSetFilePointerFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOWriteFile), RuviClientIOWriteFileFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOReadFile), RuviClientIOReadFileFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOCloseHandle), RuviClientIOCloseHandleFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOFindFirstFile), RuviClientIOFindFirstFileFn>);
static_assert(std::is_same_v<decltype(&RuviClientIOFindNextFile), RuviClientIOFindNextFileFn>);
#ifndef RUVICLIENT_WITHOUT_FIND_CLOSE
static_assert(std::is_same_v<decltype(&RuviClientIOFindClose), RuviClientIOFindCloseFn>);
#endif
