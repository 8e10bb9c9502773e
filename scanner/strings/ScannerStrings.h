// The scanner's numbered texts: its own table and the lookup through the language module.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/StringTable.h"

namespace scanner {

// Message numbers of the texts the scan run itself uses.
enum ScannerMessage : uint32_t {
  kMsgCaption = 5,
  kMsgScanned = 51,
  kMsgFiles = 52,
  kMsgDBases = 53,
  kMsgFolders = 54,
  kMsgCards = 55,
  kMsgVirusesFound = 56,
  kMsgMoved = 57,
  kMsgErrors = 58,
  kMsgDeleted = 59,
  kMsgStartedAt = 60,
  kMsgFinishedAt = 61,
  kMsgObject = 62,
  kMsgResult = 63,
  kMsgDetected = 71,
  kMsgFileLabel = 72,
  kMsgRecordLabel = 73,
  kMsgVirusLabel = 74,
  kMsgInfectedWith = 75,
  kMsgCannotOpenReport = 95,
  kMsgCannotOpenFile = 96,
  kMsgCouldNotCopy = 102,
  kMsgCouldNotDeleteFile = 103,
  kMsgCouldNotDeleteRecord = 104,
  kMsgLowBattery = 115,
};

// kScannerLanguageModule: the optional language module of the scanner.
inline constexpr char kScannerLanguageModule[] = "zepppc_loc.dll";

// ScannerOwnStrings: the scanner's own table, every numbered text of the
// program, in number order.
std::span<const platform::DeviceString> ScannerOwnStrings();

// ScannerStrings: the program's one string table (own table plus the
// language module that start-up may load into it). While a module is loaded
// every text comes from it; a text it lacks is empty.
platform::DeviceStringTable& ScannerStrings();

// ScannerText: the text of a message number under the table's rule; empty
// when absent.
std::u16string ScannerText(uint32_t id);

}  // namespace scanner
