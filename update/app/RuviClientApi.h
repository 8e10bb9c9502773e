// The C interface of the control centre's client library "RuviClient.dll", as the downloader calls
// it.
#pragma once

#include <cstddef>
#include <cstdint>

// RuviCommandCallback: called by the library for one command (1 start, 2
// stop, 3 pause, 4 resume) on a thread of the library's own. Both arguments
// are the library's and carry nothing the downloader uses. Returns 1 when the
// command was carried out, 0 when it was refused.
using RuviCommandCallback = int (*)(void* first, void* second);

// RuviAllocate / RuviRelease: the program's memory functions, handed to the
// library at initialisation for whatever it allocates on the program's behalf.
using RuviAllocate = void* (*)(size_t size);
using RuviRelease = void (*)(void* block);

// The exports, one type per name. Every function returns an int whose
// meaning is the library's; the downloader uses none of them.
using RuviClientInitFn = int (*)();
using RuviClientInitExFn = int (*)(int component, int flags, RuviAllocate allocate,
                                   RuviRelease release);
using RuviClientDoneFn = int (*)();
using RuviClientIsComponentWorksWithRuviFn = int (*)(int component);
using RuviClientGetTaskNameFn = int (*)(char* buffer, int size);
using RuviClientRegisterClientCallbackFn = int (*)(int command, RuviCommandCallback callback);
using RuviClientRecvDataFromRuviFn = int (*)(void* buffer, int size);
using RuviClientSendDataToRuviFn = int (*)(const void* data, int size);
using RuviClientSendStatusFn = int (*)(int status);
using RuviClientSendStatusExFn = int (*)(int status, int percent);
using RuviClientSendAlertFn = int (*)(int alert, const char* text);
using RuviClientSendStatisticsFn = int (*)(const void* data, int size);
using RuviClientWriteReportStrFn = int (*)(const char* text);
using RuviClientSendEventFn = int (*)(int event, const char* text);
using RuviClientSendCustomCommandFn = int (*)(int command, const void* data, int size);
using RuviClientNeedRestartFn = int (*)();
using RuviClientUpdateSettingsFn = int (*)();
using RuviClientPlaceFileToQuarantineFn = int (*)(const char* path);
using RuviClientIOLockFolderFn = int (*)(const char* folder);
using RuviClientIOUnLockFolderFn = int (*)(const char* folder);
using RuviClientIOCreateDirectoryFn = int (*)(const char* path);
using RuviClientIOAccessFn = int (*)(const char* path, int mode);
using RuviClientIOGetFileSizeFn = int (*)(void* file, uint32_t* high);
using RuviClientIOCreateFileFn = int (*)(const char* path, uint32_t access, uint32_t share,
                                         uint32_t disposition, void** file);
using RuviClientIOSetFilePointerFn = int (*)(void* file, int32_t distance, uint32_t origin);
using RuviClientIOWriteFileFn = int (*)(void* file, const void* data, uint32_t size,
                                        uint32_t* written);
using RuviClientIOReadFileFn = int (*)(void* file, void* buffer, uint32_t size, uint32_t* read);
using RuviClientIOCloseHandleFn = int (*)(void* file);
using RuviClientIOFindFirstFileFn = int (*)(const char* pattern, void* data, void** find);
using RuviClientIOFindNextFileFn = int (*)(void* find, void* data);
using RuviClientIOFindCloseFn = int (*)(void* find);

// The control centre's command numbers, as the callbacks are registered.
inline constexpr int kRuviCommandStart = 1;
inline constexpr int kRuviCommandStop = 2;
inline constexpr int kRuviCommandPause = 3;
inline constexpr int kRuviCommandResume = 4;
