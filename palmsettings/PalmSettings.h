// PalmSettings: the Palm desktop side's settings record over its registry key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "palmsettings/FetchWindows.h"
#include "palmsettings/SettingsEntry.h"
#include "palmsettings/SettingsLayout.h"
#include "platform/RegKey.h"
#include "platform/StringTable.h"

namespace palmsettings {

// PalmSettings: one record per process, constructed with the defaults at
// start and destroyed at the end. It owns both lists and the language
// library. No lock: a fetch thread reads the lists, UpdateFolder and the two
// windows and sets the `received` marks while the thread that started it
// waits; nothing else touches the lists meanwhile.
//
// Results: 0 success, kKeyNotOpened (-1) as each operation says; no key
// stays open between operations.
class PalmSettings {
 public:
  static constexpr int kKeyNotOpened = -1;
  // kKeyNotCreated: CreateDefaults could neither create nor open the
  // component key, so nothing was written.
  static constexpr int kKeyNotCreated = -2;
  // kNotCommitted: Save could not land its writes; the stored values are
  // those from before.
  static constexpr int kNotCommitted = -3;

  // PalmSettings: a record holding the defaults: SyncWaitTime 5, SyncShowDlg
  // 1, DefaultAction 2, DaysBetweenUpdate 7, LastUpdate 0, Language 9, the
  // default DesktopPath and ZEPPDir, UpdateFolder formed from that ZEPPDir,
  // empty lists, no language library, no windows, NoTasksKey 1.
  PalmSettings();
  // ~PalmSettings: frees both lists and unloads the language library.
  virtual ~PalmSettings();
  PalmSettings(const PalmSettings&) = delete;
  PalmSettings& operator=(const PalmSettings&) = delete;

  // Load: reads the component key into the record. A value that is missing
  // or unfit keeps its field (Language becomes 9). Both lists are replaced by
  // the stored ones (UpdateUrl1…, File1… up to the first missing number);
  // texts are read with or without a stored terminator, and a longer text
  // than a field holds is cut to 255 bytes. Reloads the language library
  // from ZEPPDir (none when it does not load) and forms UpdateFolder.
  // Returns 0, or kKeyNotOpened with the record unchanged.
  int Load();

  // Save: writes the five numbers, ZEPPDir and DesktopPath, deletes the
  // stored lists (from 1 up to the first missing number) and writes both
  // lists again from 1 in list order, all in one registry transaction.
  // Language and the `received` marks are never written. Returns 0,
  // kKeyNotOpened (nothing written) or kNotCommitted (nothing changed).
  int Save();

  // CreateDefaults: creates the component key and stores the record's five
  // numbers, the built-in ZEPPDir, File1 "ZEPDB.pdb", File2 "ZEPVE.pdb", then
  // takes DesktopPath from the Palm Desktop's key into the record and the
  // component key. Neither list of the record changes; no Language and no
  // UpdateUrl value is written. Returns 0, kKeyNotOpened when the Palm
  // Desktop's key does not open (DesktopPath neither read nor written), or
  // kKeyNotCreated when the component key cannot be created.
  int CreateDefaults();

  // HasTasksKey: 1 when the "Tasks" subkey opens for reading, else 0.
  int HasTasksKey() const;

  // LoadText: copies string `id` into buffer (`size` units with the
  // terminator): from the language library while it is loaded, else from the
  // caller's own table `own`. A string the library lacks is absent (there is
  // no per-string fallback). Returns the units copied, 0 for an absent
  // string, which leaves an empty text.
  size_t LoadText(uint32_t id, std::span<const platform::DesktopString> own, char* buffer,
                  size_t size) const;
  // LoadText (wide): the same into a UTF-16 buffer, for the COM object's
  // tree control; either kind of own table may be given.
  size_t LoadText(uint32_t id, std::span<const platform::DesktopString> own, char16_t* buffer,
                  size_t size) const;
  size_t LoadText(uint32_t id, std::span<const platform::DeviceString> own, char16_t* buffer,
                  size_t size) const;

  // PromoteDownloads: when every entry of fileList is marked received (an
  // empty list counts as complete), moves each named file from
  // UpdateFolder\Download into UpdateFolder, replacing the current one; a
  // file that cannot be moved is skipped and stays where it was. A move never
  // loses a file: each is one rename (or a copy that is complete before its
  // source goes). Names that are not plain file names are skipped. Returns 1
  // when the set was complete, else 0 with nothing moved.
  int PromoteDownloads();

  // OpenComponentKey: the component key opened for full access, owned by the
  // caller (closed when it goes); a closed key when it does not open.
  platform::RegKey OpenComponentKey() const;

  // The record's fields, in their stored order.
 private:
  platform::RegKey key_;  // the component key while Load, Save or CreateDefaults runs

 public:
  SettingsEntry* addressList = nullptr;                   // update addresses, in number order
  SettingsEntry* fileList = nullptr;                      // update file names, in number order
  int32_t SyncWaitTime = kDefaultSyncWaitTime;            // seconds
  uint32_t SyncShowDlg = kDefaultSyncShowDlg;             // non-zero: show the sync-time dialog
  uint32_t DefaultAction = kDefaultDefaultAction;         // 0 nothing, 1 now, 2 later
  int32_t DaysBetweenUpdate = kDefaultDaysBetweenUpdate;  // days
  int32_t LastUpdate = kDefaultLastUpdate;                // seconds since 1970-01-01 UTC
  char DesktopPath[kTextFieldSize] = {};
  char ZEPPDir[kTextFieldSize] = {};
  uint32_t Language = kDefaultLanguage;
  // languageLibrary: "Dodo_voz.dll" from ZEPPDir; null when it did not load.
  std::unique_ptr<platform::LanguageModule> languageLibrary;
  ProgressWindow* progressWindow = nullptr;  // not owned; null when there is none
  StatusWindow* statusWindow = nullptr;      // not owned; null when there is none
  // UpdateFolder: ZEPPDir, a backslash and "LastUpdate"; empty when ZEPPDir
  // is too long for that to fit, in which case no file may be placed there.
  char UpdateFolder[kTextFieldSize] = {};
  uint32_t NoTasksKey = 1;  // 1 when the "Tasks" subkey does not exist
};

// FormUpdateFolder: `zeppDir`, a backslash and "LastUpdate" in `out`; empty
// (and false) when that does not fit in 255 bytes.
bool FormUpdateFolder(std::string_view zeppDir, char (&out)[kTextFieldSize]);

}  // namespace palmsettings
