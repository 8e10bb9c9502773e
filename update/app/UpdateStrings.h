// The downloader's numbered texts, its fixed texts, and their lookup through the settings record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "palmsettings/PalmSettings.h"
#include "platform/StringTable.h"

namespace update {

// String numbers of the downloader. A language library holds its texts
// under the same numbers.
enum UpdateStringId : uint32_t {
  kIdsCaption = 200,            // "Quillmark AV for PalmOS - Get Update"
  kIdsCancel = 201,             // "Cancel"
  kIdsIncomplete = 202,         // the incomplete-run message
  kIdsIncompleteCaption = 203,  // "Error!"
  kIdsNoAddress = 204,          // "No update path is specified!"
};

// The closing message, fixed in the program rather than numbered.
inline constexpr char kClosingText[] = "Not all of update files were succesfuly received.";
inline constexpr char kClosingCaption[] = "Error";

// The buffers the texts are loaded into: whole for the caption, the button
// and the no-address message; 128 characters for the incomplete-run message
// and its caption.
inline constexpr size_t kWholeText = 256;
inline constexpr size_t kShortText = 128;

// UpdateStringTable: the downloader's own table, the fallback when no
// language library is loaded.
std::span<const platform::DesktopString> UpdateStringTable();

// UpdateText: string `id` as the record's LoadText gives it into a buffer of
// `bufferSize` characters (the language library's when loaded, else the own
// table's); empty when absent.
std::string UpdateText(const palmsettings::PalmSettings& record, uint32_t id,
                       size_t bufferSize = kWholeText);

}  // namespace update
