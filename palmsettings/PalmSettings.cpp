// The settings record: defaults, Load, Save, CreateDefaults and the component key.
#include "palmsettings/PalmSettings.h"

#include <string>

#include "palmsettings/SettingsValues.h"
#include "platform/Errors.h"
#include "platform/RegTransaction.h"
#include "platform/Text.h"

namespace palmsettings {

using detail::DesktopRoot;
using detail::ReadNumber;
using detail::ReadTextField;
using platform::ERROR_SUCCESS;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;
using platform::RegAccess;
using platform::RegKey;

bool FormUpdateFolder(std::string_view zeppDir, char (&out)[kTextFieldSize]) {
  std::string folder(zeppDir);
  folder += '\\';
  folder += kUpdateFolderName;
  // A cut path would name another folder, and files would land there.
  if (folder.size() >= kTextFieldSize) {
    platform::CopyToField(out, "");
    return false;
  }
  platform::CopyToField(out, folder);
  return true;
}

PalmSettings::PalmSettings() {
  platform::CopyToField(DesktopPath, kDefaultDesktopPath);
  platform::CopyToField(ZEPPDir, kDefaultZeppDir);
  FormUpdateFolder(kDefaultZeppDir, UpdateFolder);
}

PalmSettings::~PalmSettings() {
  key_.Close();
  FreeEntries(addressList);
  FreeEntries(fileList);
  languageLibrary.reset();
}

int PalmSettings::Load() {
  if (key_.Open(DesktopRoot(HKEY_LOCAL_MACHINE), kComponentKey, RegAccess::All) != ERROR_SUCCESS)
    return kKeyNotOpened;
  ReadNumber(key_, kSyncWaitTimeValue, &SyncWaitTime);
  ReadNumber(key_, kSyncShowDlgValue, &SyncShowDlg);
  ReadNumber(key_, kDefaultActionValue, &DefaultAction);
  if (!ReadNumber(key_, kLanguageValue, &Language)) Language = kDefaultLanguage;
  NoTasksKey = HasTasksKey() == 0 ? 1 : 0;
  ReadNumber(key_, kDaysBetweenUpdateValue, &DaysBetweenUpdate);
  ReadNumber(key_, kLastUpdateValue, &LastUpdate);

  // The stored lists replace the record's: the conduit loads the same record
  // at every synchronisation, and extending would repeat every entry.
  SettingsEntry* addresses = detail::ReadList(key_, kUpdateUrlPrefix);
  SettingsEntry* files = detail::ReadList(key_, kFilePrefix);
  FreeEntries(addressList);
  FreeEntries(fileList);
  addressList = addresses;
  fileList = files;

  ReadTextField(key_, kDesktopPathValue, DesktopPath);
  ReadTextField(key_, kZeppDirValue, ZEPPDir);

  // A library loaded by an earlier Load is released first, so reloading
  // neither leaks it nor keeps one from a directory no longer configured.
  languageLibrary.reset();
  auto library = std::make_unique<platform::LanguageModule>();
  std::string libraryPath(platform::FieldText(ZEPPDir));
  libraryPath += '\\';
  libraryPath += kLanguageLibrary;
  if (library->Load(libraryPath) == ERROR_SUCCESS) languageLibrary = std::move(library);

  FormUpdateFolder(platform::FieldText(ZEPPDir), UpdateFolder);
  key_.Close();
  return 0;
}

int PalmSettings::Save() {
  if (key_.Open(DesktopRoot(HKEY_LOCAL_MACHINE), kComponentKey, RegAccess::All) != ERROR_SUCCESS)
    return kKeyNotOpened;
  // One transaction: another process never reads the lists half rewritten,
  // and a failure part-way keeps the old values instead of losing the lists.
  platform::RegTransaction transaction(platform::RegStore::Desktop);
  if (transaction.Begin() != ERROR_SUCCESS) {
    key_.Close();
    return kNotCommitted;
  }
  key_.SetDword(kSyncWaitTimeValue, static_cast<uint32_t>(SyncWaitTime));
  key_.SetDword(kSyncShowDlgValue, SyncShowDlg);
  key_.SetDword(kDefaultActionValue, DefaultAction);
  key_.SetDword(kDaysBetweenUpdateValue, static_cast<uint32_t>(DaysBetweenUpdate));
  key_.SetDword(kLastUpdateValue, static_cast<uint32_t>(LastUpdate));
  detail::WriteText(key_, kZeppDirValue, platform::FieldText(ZEPPDir));
  detail::WriteText(key_, kDesktopPathValue, platform::FieldText(DesktopPath));
  detail::DeleteList(key_, kUpdateUrlPrefix);
  detail::DeleteList(key_, kFilePrefix);
  detail::WriteList(key_, kUpdateUrlPrefix, addressList);
  detail::WriteList(key_, kFilePrefix, fileList);
  const uint32_t committed = transaction.Commit();
  key_.Close();
  return committed == ERROR_SUCCESS ? 0 : kNotCommitted;
}

int PalmSettings::CreateDefaults() {
  if (key_.Create(DesktopRoot(HKEY_LOCAL_MACHINE), kComponentKey, RegAccess::All) != ERROR_SUCCESS)
    return kKeyNotCreated;
  key_.SetDword(kSyncWaitTimeValue, static_cast<uint32_t>(SyncWaitTime));
  key_.SetDword(kSyncShowDlgValue, SyncShowDlg);
  key_.SetDword(kDaysBetweenUpdateValue, static_cast<uint32_t>(DaysBetweenUpdate));
  key_.SetDword(kDefaultActionValue, DefaultAction);
  key_.SetDword(kLastUpdateValue, static_cast<uint32_t>(LastUpdate));
  detail::WriteText(key_, kZeppDirValue, kDefaultZeppDir);
  detail::WriteText(key_, detail::NumberedName(kFilePrefix, 1), kDefaultFile1);
  detail::WriteText(key_, detail::NumberedName(kFilePrefix, 2), kDefaultFile2);

  // Reading is all this needs of another program's key.
  RegKey palmDesktop;
  if (palmDesktop.Open(DesktopRoot(HKEY_CURRENT_USER), kPalmDesktopKey, RegAccess::Read) !=
      ERROR_SUCCESS) {
    key_.Close();
    return kKeyNotOpened;
  }
  ReadTextField(palmDesktop, kPalmDesktopPathValue, DesktopPath);
  palmDesktop.Close();
  detail::WriteText(key_, kDesktopPathValue, platform::FieldText(DesktopPath));
  key_.Close();
  return 0;
}

int PalmSettings::HasTasksKey() const {
  RegKey tasks;
  return tasks.Open(DesktopRoot(HKEY_LOCAL_MACHINE), kTasksKey, RegAccess::Read) == ERROR_SUCCESS
             ? 1
             : 0;
}

RegKey PalmSettings::OpenComponentKey() const {
  RegKey key;
  key.Open(DesktopRoot(HKEY_LOCAL_MACHINE), kComponentKey, RegAccess::All);
  return key;
}

}  // namespace palmsettings
