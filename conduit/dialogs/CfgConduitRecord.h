// The 352-byte record that the HotSync manager hands to CfgConduit, as the conduit uses it.
#pragma once

#include <cstdint>
#include <string_view>

#include "outside/hotsync/ConduitApi.h"

namespace conduit {

// CfgConduitRecord: the caller's argument record. The conduit reads the
// version, the user name and the default and next sync types, and writes
// the chosen sync type and the default flag on OK; the rest is the caller's.
using CfgConduitRecord = ConduitCfgRecord;

inline constexpr uint32_t kCfgConduitRecordSize = 352;
inline constexpr uint32_t kCfgConduitVersion = 1;
static_assert(sizeof(CfgConduitRecord) == kCfgConduitRecordSize);

// kChosenUpdate: the sync type the dialog writes back for "update"; "do
// nothing" is kSyncTypeDoNothing (6).
inline constexpr int32_t kChosenUpdate = kSyncTypePcToHandheld;
static_assert(kChosenUpdate == 3 && kSyncTypeDoNothing == 6);

// Values of the default flag.
inline constexpr int32_t kChoiceIsDefault = 1;  // the choice becomes the default
inline constexpr int32_t kChoiceNextOnly = 2;   // it holds for the next synchronisation only

// UserName: the user name of the record, up to its terminator and never
// beyond its field (an unterminated name is cut at the field's end).
std::string_view UserName(const CfgConduitRecord& record);

}  // namespace conduit
