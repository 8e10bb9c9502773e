// Setdesk's numbered texts, its fixed texts, and their lookup through the settings record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "palmsettings/PalmSettings.h"
#include "platform/StringTable.h"

namespace configapp {

// String numbers of Setdesk. A language library holds its texts under the
// same numbers.
enum SetdeskStringId : uint32_t {
  kIdsCaption = 102,  // caption of every message box
  kIdsCancel = 201,
  kIdsConduitGroup = 300,
  kIdsActionLabel = 301,
  kIdsRateLabel = 302,
  kIdsShowDialog = 303,
  kIdsSeconds = 304,
  kIdsGetUpdateNow = 305,
  kIdsHintAction = 306,
  kIdsHintRate = 307,
  kIdsHintShowDialog = 308,
  kIdsHintSeconds = 309,
  kIdsRateDaily = 310,  // 310–314: the five rates in list order
  kIdsRateWeekly = 311,
  kIdsRateTwoWeeks = 312,
  kIdsRateMonthly = 313,
  kIdsRateTwoMonths = 314,
  kIdsActionNothing = 315,  // 315–317: the three actions in list order
  kIdsActionNow = 316,
  kIdsActionLater = 317,
  kIdsHintGetUpdateNow = 320,
  kIdsTitle = 321,
  kIdsTabConduit = 322,
  kIdsWaitTimeRange = 323,
  kIdsAddressGroup = 330,
  kIdsUp = 331,
  kIdsDown = 332,
  kIdsAdd = 333,
  kIdsDelete = 334,
  kIdsClearAll = 335,
  kIdsHintUp = 336,
  kIdsHintDown = 337,
  kIdsHintAdd = 338,
  kIdsHintDelete = 339,
  kIdsHintClearAll = 340,
  kIdsHintAddress = 341,
  kIdsHintAddressList = 342,
  kIdsClearAllQuestion = 343,
  kIdsPathsGroup = 350,
  kIdsPalmDesktopLabel = 351,
  kIdsZeppLabel = 352,
  kIdsHintDesktopPath = 353,
  kIdsHintZeppDir = 354,
  kIdsTabUrls = 355,
  kIdsTabPaths = 356,
};

// Texts fixed in the program rather than numbered. The two hints are
// Cyrillic (UTF-8 here) and stay so whatever language is loaded.
inline constexpr char kShowDialogClickedHint[] = "Показывать ли окно диалога во время соединения";
inline constexpr char kGetUpdateNowHint[] = "Получить обновление немедленно";
inline constexpr char kStartErrorCaption[] = "Error creating child process";
inline constexpr char kStartErrorPrefix[] = "GetLastError() == ";
// kNotIntegerText: the dialog framework's own refusal of a number field that
// does not hold a whole number.
inline constexpr char kNotIntegerText[] = "Please enter an integer.";
// Messages of our own where the program refuses what would otherwise be cut
// or lost.
inline constexpr char kAddressTooLongText[] =
    "The address is too long: an address may have at most 255 characters.";
inline constexpr char kDirectoryTooLongText[] =
    "The directory is too long: a directory may have at most 255 characters.";
inline constexpr char kNotSavedText[] = "The settings could not be saved.";

// kTextBuffer / kShortTextBuffer: the buffers texts are loaded into, in
// characters with the terminator: 256 for every text but the Paths page's
// hints, which get 128.
inline constexpr size_t kTextBuffer = 256;
inline constexpr size_t kShortTextBuffer = 128;

// SetdeskStringTable: Setdesk's own table, the fallback when no language
// library is loaded.
std::span<const platform::DesktopString> SetdeskStringTable();

// SetdeskText: string `id` as the record's LoadText gives it into a buffer of
// `bufferSize` characters (the language library's text while one is loaded,
// else the own table's); empty when absent.
std::string SetdeskText(const palmsettings::PalmSettings& record, uint32_t id,
                        size_t bufferSize = kTextBuffer);

}  // namespace configapp
