// The Palm desktop side's registry layout: keys, value names and built-in defaults.
#pragma once

#include <cstdint>

namespace palmsettings {

// kComponentKey: below HKEY_LOCAL_MACHINE of the desktop registry; the only
// state the desktop programs share.
inline constexpr char kComponentKey[] = "SOFTWARE\\QuillmarkLab\\Components\\31";

// kTasksKey: below HKEY_LOCAL_MACHINE; when it exists the control centre
// schedules the updates. Only its existence matters; it is never created or
// deleted here.
inline constexpr char kTasksKey[] = "SOFTWARE\\QuillmarkLab\\Components\\31\\Tasks";

// kPalmDesktopKey: the Palm Desktop's own key below HKEY_CURRENT_USER, with
// its text value kPalmDesktopPathValue; read by CreateDefaults only.
inline constexpr char kPalmDesktopKey[] = "SOFTWARE\\U.S. Robotics\\Pilot Desktop\\Core";
inline constexpr char kPalmDesktopPathValue[] = "DesktopPath";

// Value names of the component key. DWORD values are 32-bit REG_DWORD;
// texts are REG_SZ written without their terminator.
inline constexpr char kSyncWaitTimeValue[] = "SyncWaitTime";
inline constexpr char kSyncShowDlgValue[] = "SyncShowDlg";
inline constexpr char kDefaultActionValue[] = "DefaultAction";
inline constexpr char kDaysBetweenUpdateValue[] = "DaysBetweenUpdate";
inline constexpr char kLastUpdateValue[] = "LastUpdate";
inline constexpr char kLanguageValue[] = "Language";  // read only, never written
inline constexpr char kDesktopPathValue[] = "DesktopPath";
inline constexpr char kZeppDirValue[] = "ZEPPDir";

// Numbered lists: the prefix followed by 1, 2, 3, … without gaps.
inline constexpr char kUpdateUrlPrefix[] = "UpdateUrl";
inline constexpr char kFilePrefix[] = "File";

// Defaults of a new record.
inline constexpr int32_t kDefaultSyncWaitTime = 5;
inline constexpr uint32_t kDefaultSyncShowDlg = 1;
inline constexpr uint32_t kDefaultDefaultAction = 2;  // 0 nothing, 1 now, 2 later
inline constexpr int32_t kDefaultDaysBetweenUpdate = 7;
inline constexpr int32_t kDefaultLastUpdate = 0;
inline constexpr uint32_t kDefaultLanguage = 9;
inline constexpr char kDefaultDesktopPath[] = "C:\\Program Files\\Palm";
inline constexpr char kDefaultZeppDir[] = "C:\\Program Files\\Quillmark Lab\\ZEPP for PalmOS";

// The update files a new installation lists (File1, File2).
inline constexpr char kDefaultFile1[] = "ZEPDB.pdb";
inline constexpr char kDefaultFile2[] = "ZEPVE.pdb";

// kLanguageLibrary: the optional language library in ZEPPDir.
inline constexpr char kLanguageLibrary[] = "Dodo_voz.dll";

// kUpdateFolderName: the update folder inside ZEPPDir; kDownloadFolderName:
// its subfolder where a run's downloads wait until all of them arrived.
inline constexpr char kUpdateFolderName[] = "LastUpdate";
inline constexpr char kDownloadFolderName[] = "Download";

// kUpdateProgram: the downloader in ZEPPDir, started with ZEPPDir as its
// working folder.
inline constexpr char kUpdateProgram[] = "Update.exe";

}  // namespace palmsettings
