// The folder program's numbered texts and the lookup through its optional language module.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/StringTable.h"

namespace folders {

// String numbers of the folder program. A language module holds its texts
// under the same numbers.
enum FoldersStringId : uint32_t {
  kIdsFile = 2,
  kIdsMenuNew = 5,
  kIdsMenuOpen = 6,
  kIdsMenuDelete = 7,
  kIdsMenuMount = 8,
  kIdsMenuUnmount = 9,
  kIdsMenuProperties = 10,
  kIdsMenuChangePassword = 11,
  kIdsSizeKb = 20,
  kIdsAlgorithm = 21,
  kIdsFolder = 25,
  kIdsLocation = 26,
  kIdsEncryption = 27,
  kIdsEncryptionAlgorithm = 30,
  kIdsTimeOut = 31,
  kIdsSize = 40,
  kIdsPassword = 41,
  kIdsRetype = 42,
  kIdsMainMemory = 43,
  kIdsOldPassword = 44,
  kIdsNewPassword = 45,
  kIdsVersion = 46,
  kIdsAboutCaption = 48,
  kIdsCaption = 49,
  kIdsInvalidPassword = 50,
  kIdsNoCipherLibrary = 51,
  kIdsCipherNotSupported = 52,
  kIdsNoDriver = 53,
  kIdsNameRequired = 54,
  kIdsPasswordRequired = 55,
  kIdsPasswordsDiffer = 56,
  kIdsOldPasswordInvalid = 57,
  kIdsNoFreeSpace = 58,
  kIdsMoveFailedStart = 59,
  kIdsMoveFailedMiddle = 60,
  kIdsNotAContainer = 61,
  kIdsConfirmDelete = 62,
  kIdsFileNotFound = 63,
  kIdsSizeTooSmall = 67,
  kIdsTimeoutZero = 69,
  kIdsTimeoutTooLarge = 70,
  kIdsConfirmOverwrite = 71,
  kIdsAlreadyListed = 72,
  kIdsTooManyFolders = 73,
  kIdsCannotFindFile = 83,
  kIdsNoRoomForPasswordChange = 90,
  kIdsNewPasswordRequired = 91,
};

// kFoldersLanguageModule: the optional language module loaded at start.
inline constexpr char kFoldersLanguageModule[] = "zsppc_loc.dll";

// FoldersOwnStrings: the program's own table, every numbered text.
std::span<const platform::DeviceString> FoldersOwnStrings();

// LoadFoldersLanguage: loads the language module (by default
// "zsppc_loc.dll"); while it is loaded every text comes from it, a number it
// lacks reads as empty. Returns 0, or the Win32 code of the failed load with
// the own table still in use.
uint32_t LoadFoldersLanguage(std::string_view windowsName = kFoldersLanguageModule);

// UnloadFoldersLanguage: back to the own table; texts taken from the module
// before must no longer be used.
void UnloadFoldersLanguage();

// FoldersText: the text of a string number, empty when there is none. Safe
// from any thread while no language module is being loaded or unloaded.
std::u16string FoldersText(uint32_t id);

// FoldersTextUtf8: FoldersText as UTF-8, for console front-ends.
std::string FoldersTextUtf8(uint32_t id);

}  // namespace folders
