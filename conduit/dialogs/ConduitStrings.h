// The conduit's numbered texts, its fixed texts, and their lookup through the settings record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "palmsettings/PalmSettings.h"
#include "platform/StringTable.h"

namespace conduit {

// String numbers of the conduit. A language library holds its texts under
// the same numbers; 514 and 515 exist only there.
enum ConduitStringId : uint32_t {
  kIdsConduitName = 1,        // "Quillmark Anti-Virus for PalmOS"
  kIdsCancel = 201,           // "Cancel"
  kIdsIncomplete = 202,       // the incomplete-fetch notice
  kIdsErrorCaption = 203,     // "Error!"
  kIdsNoAddress = 204,        // "No update path is specified!"
  kIdsBaseGroup = 500,        // "Quillmark Anti-Virus for Palm OS"
  kIdsKnownViruses = 501,     // "Known viruses :"
  kIdsLastUpdate = 502,       // "Last update :"
  kIdsGetUpdate = 504,        // "Get update : "
  kIdsNow = 505,              // "Now"
  kIdsOnSchedule = 506,       // "On schedule"
  kIdsDefaultAction = 507,    // "Default HotSync Action"
  kIdsNextAction = 508,       // "Next HotSync Action"
  kIdsUpdateAction = 509,     // "Update Quillmark AV for PalmOS"
  kIdsDoNothing = 510,        // "Do Nothing"
  kIdsSetAsDefault = 511,     // "Set as default"
  kIdsUpdaterCaption = 512,   // "Quillmark Anti-Virus for PalmOS Updater"
  kIdsCurrentSettings = 513,  // "'s Current Settings:"
  kIdsActionGroup = 514,      // only in a language library
  kIdsActionCaption = 515,    // only in a language library
};

// The texts of the dialog templates, used where no numbered text is loaded.
inline constexpr char kActionGroupTemplateText[] = "HotSync Action for ZEPPalm";
inline constexpr char kActionCaptionTemplateText[] = "Change HotSync Action";
inline constexpr char kProgressCaption[] = "Quillmark AV - Get Update";
inline constexpr char kProgressTemplateText[] =
    "Anti-Virus definition database update is in progress";
inline constexpr char kProgressCancelText[] = "&Cancel";

// kTextBuffer: the buffer every numbered text is loaded into, 255 bytes and
// the terminator.
inline constexpr size_t kTextBuffer = 256;

// ConduitStringTable: the conduit's own table, the fallback when no language
// library is loaded.
std::span<const platform::DesktopString> ConduitStringTable();

// ConduitText: string `id` as the record's LoadText gives it into a buffer
// of `bufferSize` bytes with the terminator (the language library's when
// loaded, else the own table's); empty when absent.
std::string ConduitText(const palmsettings::PalmSettings& record, uint32_t id,
                        size_t bufferSize = kTextBuffer);

// ConduitTextOr: ConduitText, or `otherwise` when that is empty: 514 and 515
// show the template's own texts unless a language library supplies them.
std::string ConduitTextOr(const palmsettings::PalmSettings& record, uint32_t id,
                          std::string_view otherwise);

}  // namespace conduit
