// Mounting and unmounting: key object, mount block, the two ways of loading the driver.
#include "folders/volumes/Mount.h"

#include <cstring>
#include <span>
#include <string>

#include "folders/container/CipherLibrary.h"
#include "folders/container/Container.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/DriverCodes.h"
#include "folders/volumes/DriverKey.h"
#include "folders/volumes/MountBlock.h"
#include "folders/volumes/VolumeList.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/Text.h"

namespace folders {
namespace {

using platform::DeviceHandle;

bool UsesStorageManager() {
  return platform::PlatformMajorVersion() >= 4;
}

// Wipe: clears key material so that no copy of it outlives the mount call.
void Wipe(void* data, size_t size) {
  volatile uint8_t* p = static_cast<volatile uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) p[i] = 0;
}

std::span<const uint8_t> Bytes(const MountInformation& info) {
  return {reinterpret_cast<const uint8_t*>(&info), sizeof(info)};
}

void ShowMountError(uint32_t error, platform::Prompt& prompt) {
  if (std::optional<std::string> text = MountErrorBoxText(error))
    prompt.Show(*text, kMountErrorCaption, platform::MB_OK | platform::MB_ICONERROR);
}

// ActivateFromDriverKey: version 4 and above. The storage manager learns the
// folder's name from the profile; the device manager loads the driver from
// the registration key written at start.
int ActivateFromDriverKey(MountInformation& info, platform::Prompt& prompt, DeviceHandle* handle) {
  platform::CopyToField(info.block.profileName, kProfileName);
  WriteStorageProfile(platform::FieldText(info.record.mountName));  // a failure is ignored
  platform::SetLastError(0);
  const DeviceHandle h = platform::ActivateDeviceEx(kDriverKeyPath, Bytes(info));
  if (h != 0) {
    *handle = h;
    return 0;
  }
  // The activation failure would otherwise reach the user without any
  // message: the codes that have a result message of their own take it, the
  // others show the registration's error box.
  const uint32_t error = platform::GetLastError();
  if (error == platform::ERROR_FILE_NOT_FOUND) return kMountNoDriver;
  if (error == platform::ERROR_DEVICE_IN_USE) return kMountTooManyFolders;
  ShowMountError(error, prompt);
  return kMountDriverFailed;
}

// HandOverHandle: version 3 and below. The new device learns its own handle
// through control code 4; a device that cannot be opened or refuses it has no
// file system on it and is released again.
int HandOverHandle(uint32_t index, DeviceHandle h) {
  platform::Device device;
  uint32_t err = device.Open(FolderDeviceName(index), platform::GENERIC_WRITE, 0,
                             platform::DEVICE_OPEN_SYSTEM);
  if (err == 0) {
    uint8_t input[sizeof(h)];
    std::memcpy(input, &h, sizeof(h));
    uint32_t returned = 0;
    err = device.IoControl(kIoctlSetHandle, input, {}, returned);
  }
  if (err != 0) {
    device.Close();
    platform::DeregisterDevice(h);
    return kMountNoFileSystem;
  }
  return 0;
}

int RegisterOnFreeIndex(const MountInformation& info, platform::Prompt& prompt,
                        DeviceHandle* handle) {
  for (uint32_t i = 0; i < kMaxMountedFolders; ++i) {
    platform::SetLastError(0);
    const DeviceHandle h = platform::RegisterDevice(kDriverPrefix, i, kDriverFile, Bytes(info));
    if (h != 0) {
      if (int result = HandOverHandle(i, h)) return result;
      *handle = h;
      return 0;
    }
    const uint32_t error = platform::GetLastError();
    if (error == platform::ERROR_FILE_NOT_FOUND) return kMountNoDriver;
    ShowMountError(error, prompt);
    if (error == platform::ERROR_NOT_SUPPORTED || error == platform::ERROR_INVALID_PARAMETER ||
        error == platform::ERROR_OPEN_FAILED)
      return kMountDriverFailed;
  }
  return kMountTooManyFolders;
}

}  // namespace

std::u16string FolderDeviceName(uint32_t index) {
  std::u16string name(kDriverPrefix);
  for (char c : std::to_string(index)) name += static_cast<char16_t>(c);
  name += u':';
  return name;
}

std::optional<std::string> MountErrorBoxText(uint32_t error) {
  switch (error) {
    case 2:
      return "Cannot find Secvol.dll";
    case 3:
      return "The system cannot find the path specified.";
    case 21:
      return "Device is not ready.";
    case 27:
      return "Sector not found.";
    case 32:
      return "File sharing violation.";
    case 86:
      return "Password is incorrect.";
    case 87:
    case 110:
    case 2404:
      return std::nullopt;
    default:
      return std::to_string(error);
  }
}

int TryMountVolume(VolumeRecord& record, std::u16string_view password, platform::Prompt& prompt,
                   DeviceHandle* handle) {
  MountInformation info{};
  if (!VerifyPassword(record, password)) return kMountInvalidPassword;

  CipherLibrary cipher;
  if (int result = cipher.Load(record.algorithm)) return result;
  cipher.CreateKey(PasswordBytes(password), info.block.keyObject);
  cipher.Unload();
  // The driver is handed a copy of the record behind the block; `record`
  // holds where that copy starts.
  info.block.record = kMountBlockRecordOffset;
  info.record = record;

  DeviceHandle h = 0;
  const int result = UsesStorageManager() ? ActivateFromDriverKey(info, prompt, &h)
                                          : RegisterOnFreeIndex(info, prompt, &h);
  Wipe(&info, sizeof(info));
  if (result == 0) {
    record.deviceHandle = h;
    *handle = h;
  }
  return result;
}

void ReportMountResult(int result, platform::Prompt& prompt) {
  std::u16string text;
  switch (result) {
    case kCipherLibraryMissing:
      text = FoldersText(kIdsNoCipherLibrary);
      break;
    case kCipherNotSupported:
      text = FoldersText(kIdsCipherNotSupported);
      break;
    case kMountInvalidPassword:
      text = FoldersText(kIdsInvalidPassword);
      break;
    case kMountNoDriver:
      text = FoldersText(kIdsNoDriver);
      break;
    case kMountTooManyFolders:
      text = FoldersText(kIdsTooManyFolders);
      break;
    case kMountNoFileSystem:
      text = platform::Utf8ToUtf16(kNoFileSystemText);
      break;
    default:  // 0, and -8 whose box has been shown already
      return;
  }
  prompt.Show(text, FoldersText(kIdsCaption), platform::MB_OK | platform::MB_ICONERROR);
}

DeviceHandle MountVolume(VolumeRecord& record, std::u16string_view password,
                         platform::Prompt& prompt) {
  DeviceHandle handle = 0;
  const int result = TryMountVolume(record, password, prompt, &handle);
  ReportMountResult(result, prompt);
  return result == 0 ? handle : 0;
}

bool ReleaseFolderDevice(DeviceHandle handle) {
  return UsesStorageManager() ? platform::DeactivateDevice(handle)
                              : platform::DeregisterDevice(handle);
}

int UnmountVolume(std::u16string_view path) {
  VolumeRecord record{};
  if (FindVolumeEntry(record, path) == kNoEntry || record.deviceHandle == 0) return 0;
  return ReleaseFolderDevice(record.deviceHandle) ? 1 : 0;
}

}  // namespace folders
