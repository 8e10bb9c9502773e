// The conduit's name, its information values and CfgConduit.
#include "conduit/sync/ConduitQueries.h"

#include <cstring>

#include "conduit/dialogs/ActionDialog.h"
#include "conduit/dialogs/CfgConduitRecord.h"
#include "conduit/dialogs/ConduitStrings.h"
#include "platform/StringTable.h"

namespace conduit {

namespace {

// LoadOwnName: string 1 from the own table into a caller's buffer; the
// number of bytes copied, 0 when nothing was.
size_t LoadOwnName(char* buffer, size_t size) {
  if (buffer == nullptr || size == 0) return 0;
  static const platform::LanguageModule none;
  return platform::LoadString(none, ConduitStringTable(), platform::LanguageRule::WholeTable,
                              kIdsConduitName, buffer, size);
}

void Store32(void* output, uint32_t value) {
  std::memcpy(output, &value, sizeof value);
}

}  // namespace

int32_t ConduitName(char* buffer, uint32_t size) {
  return LoadOwnName(buffer, size & 0xFFFF) != 0 ? 0 : -1;
}

int32_t ConduitInfo(int32_t kind, const void* input, void* output, const uint32_t* outputSize) {
  if (output == nullptr) return kInfoNoOutput;
  if (outputSize == nullptr) return kInfoNoSize;
  switch (kind) {
    case kInfoName: {
      if (input == nullptr) return kInfoNoInput;
      uint32_t fields[2];
      std::memcpy(fields, input, sizeof fields);
      if (fields[0] != 1 || fields[1] != 80) return kInfoBadRequest;
      return LoadOwnName(static_cast<char*>(output), *outputSize) != 0 ? 0 : kInfoNameNotLoaded;
    }
    case kInfoFirstValue:
      if (*outputSize != sizeof(uint32_t)) return kInfoBadSize;
      Store32(output, kInfoFirstAnswer);
      return 0;
    case kInfoSecondValue:
      if (*outputSize != sizeof(uint32_t)) return kInfoBadSize;
      Store32(output, 0);
      return 0;
    default:
      return kInfoUnknownKind;
  }
}

int32_t ConfigureConduit(palmsettings::PalmSettings& record, ConduitUi& ui, int32_t kind,
                         void* argument, const uint32_t* argumentSize) {
  record.Load();
  if (argument == nullptr) return kInfoNoInput;
  if (argumentSize == nullptr) return kCfgNoSize;
  if (*argumentSize != kCfgConduitRecordSize) return kCfgBadSize;
  if (kind != 0) return kCfgUnknownKind;
  auto& arguments = *static_cast<CfgConduitRecord*>(argument);
  if (arguments.version != kCfgConduitVersion) return kCfgBadVersion;
  ActionDialog dialog(record, arguments);
  ui.Run(dialog);
  return 0;
}

}  // namespace conduit
