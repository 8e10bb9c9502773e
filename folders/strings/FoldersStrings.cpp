// The folder program's own string table and its lookup.
#include "folders/strings/FoldersStrings.h"

#include "platform/Text.h"

namespace folders {
namespace {

using platform::DeviceString;

constexpr DeviceString kOwn[] = {
    {kIdsFile, u"File"},
    {kIdsMenuNew, u"New"},
    {kIdsMenuOpen, u"Open"},
    {kIdsMenuDelete, u"Delete"},
    {kIdsMenuMount, u"Mount"},
    {kIdsMenuUnmount, u"Unmount"},
    {kIdsMenuProperties, u"Properties"},
    {kIdsMenuChangePassword, u"Change password"},
    {kIdsSizeKb, u"Size(KB)"},
    {kIdsAlgorithm, u"Algorithm"},
    {kIdsFolder, u"Folder"},
    {kIdsLocation, u"Location"},
    {kIdsEncryption, u"Encryption"},
    {kIdsEncryptionAlgorithm, u"Encryption algorithm"},
    {kIdsTimeOut, u"TimeOut"},
    {kIdsSize, u"Size"},
    {kIdsPassword, u"Password"},
    {kIdsRetype, u"Re-type"},
    {kIdsMainMemory, u"Main memory"},
    {kIdsOldPassword, u"Old password"},
    {kIdsNewPassword, u"New password"},
    {kIdsVersion, u"version"},
    {kIdsAboutCaption, u"About Quillmark Coffer"},
    {kIdsCaption, u"Quillmark Coffer"},
    {kIdsInvalidPassword, u"Invalid Password"},
    {kIdsNoCipherLibrary, u"Cannot locate /Windows/ZSCrypt.dll"},
    {kIdsCipherNotSupported, u"This cipher is not supported."},
    {kIdsNoDriver, u"Cannot locate /Windows/Secvol.dll"},
    {kIdsNameRequired, u"A filename is required to create new folder"},
    {kIdsPasswordRequired, u"A password is required to create new folder"},
    {kIdsPasswordsDiffer, u"Two passwords are not same. Try again."},
    {kIdsOldPasswordInvalid, u"Old password is invalid!"},
    {kIdsNoFreeSpace, u"Cannot create new file.\nNot enought free space"},
    // The move failure reads: 59 + old path + 60 + new path + "'".
    {kIdsMoveFailedStart, u"Cannot move file '"},
    {kIdsMoveFailedMiddle, u"' to '"},
    {kIdsNotAContainer, u"This is not a Quillmark Security file!"},
    {kIdsConfirmDelete, u"Are you sure you want to delete '"},
    {kIdsFileNotFound, u"Specified file not found!\nCheck path."},
    {kIdsSizeTooSmall, u"Too small disk size specified!"},
    {kIdsTimeoutZero, u"Timeout must be greater then 0!"},
    {kIdsTimeoutTooLarge, u"Timeout is too large!"},
    {kIdsConfirmOverwrite, u"Specified file already exists.\nDo you want to overwrite it?"},
    {kIdsAlreadyListed, u"This file is already in list."},
    {kIdsTooManyFolders,
     u"Too many folders are opened.\nIt is impossible to mount more \nthan 10 folders at the same "
     u"time."},
    {kIdsCannotFindFile, u"Cannot find specified file."},
    {kIdsNoRoomForPasswordChange, u"Not enough free space to change the password."},
    {kIdsNewPasswordRequired, u"A new password is required."},
};
static_assert(platform::HasUniqueIds(kOwn));

platform::DeviceStringTable& Table() {
  static platform::DeviceStringTable table(kOwn, platform::LanguageRule::WholeTable);
  return table;
}

}  // namespace

std::span<const platform::DeviceString> FoldersOwnStrings() {
  return kOwn;
}

uint32_t LoadFoldersLanguage(std::string_view windowsName) {
  return Table().LoadLanguage(windowsName);
}

void UnloadFoldersLanguage() {
  Table().UnloadLanguage();
}

std::u16string FoldersText(uint32_t id) {
  return Table().Get(id);
}

std::string FoldersTextUtf8(uint32_t id) {
  return platform::Utf16ToUtf8(FoldersText(id));
}

}  // namespace folders
