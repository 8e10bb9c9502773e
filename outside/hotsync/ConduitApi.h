// The exports of a conduit library and the records passed to them, as the HotSync manager calls
// them.
#pragma once

#include <cstddef>
#include <cstdint>

// ConduitProgressFn: the manager's progress callback. A conduit may call it
// with a line of text; the manager prints it.
using ConduitProgressFn = void (*)(const char* text);

// Sync types (the first field of ConduitSyncProperties, and the sync types of
// ConduitCfgRecord).
inline constexpr int32_t kSyncTypeFast = 0;
inline constexpr int32_t kSyncTypeSlow = 1;
inline constexpr int32_t kSyncTypeHandheldToPc = 2;
inline constexpr int32_t kSyncTypePcToHandheld = 3;
inline constexpr int32_t kSyncTypeInstall = 4;
inline constexpr int32_t kSyncTypeBackup = 5;
inline constexpr int32_t kSyncTypeDoNothing = 6;

// ConduitSyncProperties: what OpenConduit receives about the synchronisation.
struct ConduitSyncProperties {
  int32_t syncType;      // 0: one of the kSyncType* values
  uint32_t reserved;     // 4: 0
  char userName[64];     // 8: the HotSync user
  char userFolder[256];  // 72: the user's folder under the Palm Desktop folder (desktop path)
};
static_assert(offsetof(ConduitSyncProperties, syncType) == 0);
static_assert(sizeof(ConduitSyncProperties) == 328);

// ConduitInfoRequest: the input record of GetConduitInfo for kind 0 (name):
// version 1 and size 80.
struct ConduitInfoRequest {
  uint32_t version;  // 0: 1
  uint32_t size;     // 4: 80
  uint8_t reserved[72];
};
static_assert(sizeof(ConduitInfoRequest) == 80);

// ConduitCfgRecord: the argument record of CfgConduit (352 bytes).
struct ConduitCfgRecord {
  uint32_t version;         // 0: 1
  uint32_t reserved[3];     // 4
  char userName[64];        // 16: the HotSync user
  char userFolder[256];     // 80: the user's folder (desktop path)
  int32_t defaultSyncType;  // 336: shown as the default action
  int32_t nextSyncType;     // 340: shown as the next action
  int32_t chosenSyncType;   // 344: written back by the conduit
  int32_t defaultFlag;      // 348: written back: 1 the choice becomes the default, 2 next only
};
static_assert(offsetof(ConduitCfgRecord, userName) == 16);
static_assert(offsetof(ConduitCfgRecord, defaultSyncType) == 336);
static_assert(offsetof(ConduitCfgRecord, nextSyncType) == 340);
static_assert(offsetof(ConduitCfgRecord, chosenSyncType) == 344);
static_assert(offsetof(ConduitCfgRecord, defaultFlag) == 348);
static_assert(sizeof(ConduitCfgRecord) == 352);

// The exports of a conduit ("ZEPPalm.dll"), one type per name.
using OpenConduitFn = int32_t (*)(ConduitProgressFn progress, ConduitSyncProperties* properties);
// GetConduitNameFn: the low 16 bits of `size` are the buffer's size.
using GetConduitNameFn = int32_t (*)(char* buffer, uint32_t size);
using GetConduitVersionFn = uint32_t (*)();
using GetConduitInfoFn = int32_t (*)(int32_t kind, void* input, void* output, uint32_t* outputSize);
using CfgConduitFn = int32_t (*)(int32_t kind, void* argument, uint32_t* argumentSize);
