// The registry with Win32 semantics: key handles, typed values, enumeration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/RegStore.h"

namespace platform {

// HKEY: an open key or one of the predefined roots. Handles from RegOpenKeyEx
// and RegCreateKeyEx belong to the caller until RegCloseKey.
struct HKEY__;
using HKEY = HKEY__*;

// The predefined roots, with the Windows values. They name the roots of the
// process's default store (SetDefaultRegStore); RegRootKey gives the same
// roots bound to one store.
inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(uintptr_t{0x80000002});

// Value types.
inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_MULTI_SZ = 7;

// Dispositions reported by RegCreateKeyEx.
inline constexpr uint32_t REG_CREATED_NEW_KEY = 1;
inline constexpr uint32_t REG_OPENED_EXISTING_KEY = 2;

// Options of RegCreateKeyEx; every key is kept, so volatile is accepted and
// treated as non-volatile.
inline constexpr uint32_t REG_OPTION_NON_VOLATILE = 0;
inline constexpr uint32_t REG_OPTION_VOLATILE = 1;

// Access rights. The desktop store checks them as Windows does; the device
// store ignores them, as Windows CE does.
inline constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr uint32_t KEY_NOTIFY = 0x0010;
inline constexpr uint32_t KEY_CREATE_LINK = 0x0020;
inline constexpr uint32_t KEY_DELETE = 0x00010000;  // the standard DELETE right
inline constexpr uint32_t KEY_READ = 0x00020019;
inline constexpr uint32_t KEY_WRITE = 0x00020006;
inline constexpr uint32_t KEY_EXECUTE = KEY_READ;
inline constexpr uint32_t KEY_ALL_ACCESS = 0x000F003F;

// Limits, as on Windows: key name components of 255 characters, value names
// of 16383 characters; values are limited to 1 MiB of data.
inline constexpr size_t kRegMaxKeyNameLength = 255;
inline constexpr size_t kRegMaxValueNameLength = 16383;
inline constexpr size_t kRegMaxValueDataSize = size_t{1} << 20;

// SetDefaultRegStore / DefaultRegStore: the store that the plain predefined
// roots name in this process. Desktop unless a handheld program changes it at
// start.
void SetDefaultRegStore(RegStore store);
RegStore DefaultRegStore();

// RegRootKey: the predefined root `root` bound to `store`, whatever the
// process default. Returns null for a handle that is not a predefined root.
HKEY RegRootKey(RegStore store, HKEY root);

// RegKeyStore: the store an open key or root belongs to; false for an invalid
// handle.
bool RegKeyStore(HKEY key, RegStore* store);

// RegCloseStores: closes the process's cached store connections, so that the
// next call opens the store the environment names then (tests re-point
// QM_DEVICE_REGISTRY / QM_DESKTOP_REGISTRY this way). Open handles keep their
// own connection until they are closed.
void RegCloseStores();

// Every function below returns ERROR_SUCCESS or a Win32 code: 6 for an invalid
// handle, 1018 when the key was deleted under the handle, 5 for a right the
// handle lacks, 87 for a bad argument or a name or value beyond the limits,
// 1015 for a store that is corrupt or not a registry, and the host's code
// when the store cannot be opened. Names are UTF-8 in the plain functions and
// UTF-16 in the W functions; a null or empty value name is the default value.

// RegCreateKeyEx: opens subKey below key, creating it and missing parents with
// the class string; *disposition tells created from opened. Writes the new
// handle to *result; on failure *result is null and nothing was created.
uint32_t RegCreateKeyEx(HKEY key, const char* subKey, uint32_t reserved, const char* className,
                        uint32_t options, uint32_t samDesired, void* security, HKEY* result,
                        uint32_t* disposition);
uint32_t RegCreateKeyExW(HKEY key, const char16_t* subKey, uint32_t reserved,
                         const char16_t* className, uint32_t options, uint32_t samDesired,
                         void* security, HKEY* result, uint32_t* disposition);

// RegOpenKeyEx: opens an existing key (2 when missing). A null or empty subKey
// gives a new handle to key itself.
uint32_t RegOpenKeyEx(HKEY key, const char* subKey, uint32_t options, uint32_t samDesired,
                      HKEY* result);
uint32_t RegOpenKeyExW(HKEY key, const char16_t* subKey, uint32_t options, uint32_t samDesired,
                       HKEY* result);

// RegCloseKey: releases a handle; closing a predefined root does nothing.
uint32_t RegCloseKey(HKEY key);

// RegQueryValueEx: the value's type and data. With data null, only the size
// is reported in *cbData. A buffer smaller than the data gets nothing and
// ERROR_MORE_DATA, with the needed size in *cbData. Data is returned as it was
// stored, with or without a text terminator.
uint32_t RegQueryValueEx(HKEY key, const char* name, uint32_t* reserved, uint32_t* type,
                         uint8_t* data, uint32_t* cbData);
uint32_t RegQueryValueExW(HKEY key, const char16_t* name, uint32_t* reserved, uint32_t* type,
                          uint8_t* data, uint32_t* cbData);

// RegSetValueEx: stores cbData bytes as given under the type, replacing an
// existing value in its place in the enumeration order.
uint32_t RegSetValueEx(HKEY key, const char* name, uint32_t reserved, uint32_t type,
                       const uint8_t* data, uint32_t cbData);
uint32_t RegSetValueExW(HKEY key, const char16_t* name, uint32_t reserved, uint32_t type,
                        const uint8_t* data, uint32_t cbData);

// RegDeleteValue: removes one value (2 when missing).
uint32_t RegDeleteValue(HKEY key, const char* name);
uint32_t RegDeleteValueW(HKEY key, const char16_t* name);

// RegDeleteKey: removes subKey, which must have no subkeys (5 otherwise, as
// on Windows NT); its values go with it. Roots cannot be deleted.
uint32_t RegDeleteKey(HKEY key, const char* subKey);
uint32_t RegDeleteKeyW(HKEY key, const char16_t* subKey);

// RegDeleteTree: removes subKey with everything below it; with a null or empty
// subKey, removes the values and subkeys of key but keeps key. One
// transaction: either all of it goes or nothing.
uint32_t RegDeleteTree(HKEY key, const char* subKey);
uint32_t RegDeleteTreeW(HKEY key, const char16_t* subKey);

// RegEnumValue: the value at index in creation order (259 past the end).
// *cchName holds the name buffer's size in characters with the terminator and
// receives the name's length; a name or data buffer that is too small gives
// ERROR_MORE_DATA (for the data with the needed size in *cbData).
uint32_t RegEnumValue(HKEY key, uint32_t index, char* name, uint32_t* cchName, uint32_t* reserved,
                      uint32_t* type, uint8_t* data, uint32_t* cbData);
uint32_t RegEnumValueW(HKEY key, uint32_t index, char16_t* name, uint32_t* cchName,
                       uint32_t* reserved, uint32_t* type, uint8_t* data, uint32_t* cbData);

// RegEnumKeyEx: the subkey at index in creation order (259 past the end), with
// its class string when className is given. lastWriteTime is not kept and is
// left untouched.
uint32_t RegEnumKeyEx(HKEY key, uint32_t index, char* name, uint32_t* cchName, uint32_t* reserved,
                      char* className, uint32_t* cchClass, void* lastWriteTime);
uint32_t RegEnumKeyExW(HKEY key, uint32_t index, char16_t* name, uint32_t* cchName,
                       uint32_t* reserved, char16_t* className, uint32_t* cchClass,
                       void* lastWriteTime);

// RegQueryInfoKey: class string, counts of subkeys and values, and the longest
// subkey name, class, value name (characters, UTF-8 bytes here) and value
// data (bytes). Every pointer may be null.
uint32_t RegQueryInfoKey(HKEY key, char* className, uint32_t* cchClass, uint32_t* reserved,
                         uint32_t* subKeys, uint32_t* maxSubKeyLen, uint32_t* maxClassLen,
                         uint32_t* values, uint32_t* maxValueNameLen, uint32_t* maxValueLen,
                         uint32_t* securityDescriptor, void* lastWriteTime);

// RegGetValueBytes: the whole value in one look-up, for C++ callers that would
// otherwise ask for the size first. On failure *data is left empty.
uint32_t RegGetValueBytes(HKEY key, const char* name, uint32_t* type, std::vector<uint8_t>* data);

// RegEnumValueBytes / RegEnumKeyName: RegEnumValue and RegEnumKeyEx without
// buffer sizes, for C++ callers; any output may be null.
uint32_t RegEnumValueBytes(HKEY key, uint32_t index, std::string* name, uint32_t* type,
                           std::vector<uint8_t>* data);
uint32_t RegEnumKeyName(HKEY key, uint32_t index, std::string* name, std::string* className);

}  // namespace platform
