// The HotSync manager's questions: the conduit's name, version and two further values, and the
// settings dialog of CfgConduit.
#pragma once

#include <cstdint>

#include "conduit/dialogs/ConduitUi.h"
#include "palmsettings/PalmSettings.h"

namespace conduit {

// kConduitVersion: GetConduitVersion's answer (hexadecimal 102).
inline constexpr uint32_t kConduitVersion = 258;

// Results of GetConduitInfo and CfgConduit besides 0.
inline constexpr int32_t kInfoUnknownKind = 4208;
inline constexpr int32_t kInfoNoOutput = 4209;
inline constexpr int32_t kInfoBadSize = 4211;
inline constexpr int32_t kInfoNoInput = 4212;  // also CfgConduit's null argument record
inline constexpr int32_t kInfoBadRequest = 4213;
inline constexpr int32_t kInfoNameNotLoaded = 4214;
inline constexpr int32_t kInfoNoSize = 4215;
inline constexpr int32_t kCfgNoSize = 4216;
inline constexpr int32_t kCfgUnknownKind = 4217;
inline constexpr int32_t kCfgBadSize = 4218;
inline constexpr int32_t kCfgBadVersion = 4219;

// Kinds of GetConduitInfo.
inline constexpr int32_t kInfoName = 0;
inline constexpr int32_t kInfoFirstValue = 1;            // answered with kInfoFirstAnswer
inline constexpr int32_t kInfoSecondValue = 2;           // answered with 0
inline constexpr uint32_t kInfoFirstAnswer = 268435456;  // only bit 28 set

// ConduitName: GetConduitName: string 1 from the conduit's own table (never
// a language library) into `buffer` of the low 16 bits of `size` bytes.
// Returns 0 when it was loaded, else -1 (a null buffer or a size of 0).
int32_t ConduitName(char* buffer, uint32_t size);

// ConduitInfo: GetConduitInfo, checked in this order: a null output (4209),
// a null size pointer (4215); kind 0: a null input (4212), an input whose
// first two 32-bit fields are not 1 and 80 (4213), string 1 not loaded
// into the output of *outputSize bytes (4214); kinds 1 and 2: *outputSize
// not 4 (4211), else 268435456 or 0 stored as a 32-bit value; any other
// kind 4208. Returns 0 otherwise.
int32_t ConduitInfo(int32_t kind, const void* input, void* output, const uint32_t* outputSize);

// ConfigureConduit: CfgConduit. Loads the settings (the result is not
// used), then checks in this order: a null argument record (4212), a null
// size pointer (4216), a size other than 352 (4218), a kind other than 0
// (4217), a record version other than 1 (4219). Otherwise runs the settings
// dialog on the record and returns 0, whether the user chose OK or Cancel.
int32_t ConfigureConduit(palmsettings::PalmSettings& record, ConduitUi& ui, int32_t kind,
                         void* argument, const uint32_t* argumentSize);

}  // namespace conduit
