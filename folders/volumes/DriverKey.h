// The driver registration key and the storage profile of the folder driver.
#pragma once

#include <cstdint>
#include <string_view>

namespace folders {

// The registration the program writes at start on platform version 4 and
// above, and reads back through the device manager at every mount.
inline constexpr char16_t kDriverKeyPath[] = u"Drivers\\ZSecurity";
inline constexpr char16_t kDriverKeyDll[] = u"secvol.dll";
inline constexpr char16_t kDriverPrefix[] = u"VDD";
inline constexpr char16_t kDriverIClass[] = u"{A4E7EDDA-E575-4252-9D6B-4195D48BB865}";

// The driver file registered directly on platform version 3 and below.
inline constexpr char16_t kDriverFile[] = u"Secvol.dll";

// The storage profile that names the folder mounted last (version 4 and up).
inline constexpr char16_t kProfileName[] = u"ZSF_TMP";
inline constexpr char16_t kProfilesKey[] = u"System\\StorageManager\\Profiles";
inline constexpr char16_t kProfileFolderValue[] = u"Folder";

// RegisterDriverKey: writes "Prefix", "Dll" (= dllName) and "IClass" as REG_SZ
// with terminator under HKEY_LOCAL_MACHINE\keyPath of the device registry,
// creating the key. All or nothing: on failure "ERROR Opening the registry
// key\r\n" goes to the debug output (stderr), the key is left as it was and
// the Win32 code is returned; 0 on success.
uint32_t RegisterDriverKey(std::u16string_view dllName, std::u16string_view keyPath);

// WriteStorageProfile: sets the profile's "Folder" value to the "mount as"
// name. Returns 0 or the Win32 code (mounting ignores it).
uint32_t WriteStorageProfile(std::u16string_view mountName);

}  // namespace folders
