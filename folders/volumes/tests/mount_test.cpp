// Mounting, unmounting and refreshing against a private device-manager service.
#include "folders/volumes/Mount.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "folders/container/CipherLibrary.h"
#include "folders/container/Container.h"
#include "folders/container/ContainerHeader.h"
#include "folders/volumes/DriverKey.h"
#include "folders/volumes/SectorAccess.h"
#include "folders/volumes/VolumeList.h"
#include "folders/volumes/VolumeRefresh.h"
#include "folders/volumes/tests/FolderDeviceTest.h"
#include "platform/DeviceManager.h"
#include "platform/File.h"
#include "platform/RegKey.h"
#include "platform/Registry.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"

namespace folders {
namespace {

using platform::ScriptedPrompt;
using testing::FolderDeviceTest;

constexpr uint32_t kErrorBox = platform::MB_OK | platform::MB_ICONERROR;

std::u16string FolderPath(int n) {
  return u"\\My Documents\\f" + platform::Utf8ToUtf16(std::to_string(n)) + u".zsf";
}

std::vector<uint8_t> ReadHostBytes(const std::string& path, uint64_t offset, size_t size) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(offset));
  std::vector<uint8_t> bytes(size);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

class Mounting : public FolderDeviceTest {
 protected:
  // Mount: MountVolume on the entry of `path` under `name`.
  platform::DeviceHandle Mount(std::u16string_view path, std::u16string_view password,
                               std::u16string_view name = u"") {
    VolumeRecord record{};
    EXPECT_NE(FindVolumeEntry(record, path), kNoEntry);
    if (!name.empty()) platform::CopyToField(record.mountName, name);
    return MountVolume(record, password, prompt_);
  }

  VolumeState StateOf(std::u16string_view path) {
    for (const VolumeRow& row : RefreshVolumeList())
      if (row.path == path) return row.state;
    ADD_FAILURE() << "no row";
    return VolumeState::Missing;
  }

  ScriptedPrompt prompt_;
};

TEST_F(Mounting, WrongPasswordIsRefusedBeforeTheDriverIsInvolved) {
  MakeFolder(u"\\My Documents\\a.zsf", u"right");
  EXPECT_EQ(Mount(u"\\My Documents\\a.zsf", u"wrong"), 0u);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Invalid Password");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Coffer");
  EXPECT_EQ(prompt_.last().flags, kErrorBox);
  EXPECT_FALSE(ServiceStarted());  // nothing asked the device manager for anything

  VolumeRecord record{};
  FindVolumeEntry(record, u"\\My Documents\\a.zsf");
  platform::DeviceHandle handle = 0;
  EXPECT_EQ(TryMountVolume(record, u"", prompt_, &handle), kMountInvalidPassword);
  EXPECT_EQ(TryMountVolume(record, u"righ", prompt_, &handle), kMountInvalidPassword);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(record.deviceHandle, 0u);
}

TEST_F(Mounting, CipherWithoutFunctionsIsNotSupported) {
  MakeFolder(u"\\My Documents\\seven.zsf", u"pw", 7);
  EXPECT_EQ(Mount(u"\\My Documents\\seven.zsf", u"pw"), 0u);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "This cipher is not supported.");
  EXPECT_FALSE(ServiceStarted());
}

TEST_F(Mounting, MissingDriverFileGivesItsMessageWithoutTheRegistrationBox) {
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  RemoveDriver();
  for (uint32_t version : {3u, 4u}) {
    UseVersion(version);
    ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
    prompt_.Clear();
    VolumeRecord record{};
    FindVolumeEntry(record, u"\\My Documents\\a.zsf");
    platform::DeviceHandle handle = 0;
    EXPECT_EQ(TryMountVolume(record, u"pw", prompt_, &handle), kMountNoDriver) << version;
    EXPECT_EQ(prompt_.count(), 0u) << version;
    EXPECT_EQ(Mount(u"\\My Documents\\a.zsf", u"pw"), 0u);
    ASSERT_EQ(prompt_.count(), 1u) << version;
    EXPECT_EQ(prompt_.last().text, "Cannot locate /Windows/Secvol.dll");
    EXPECT_EQ(prompt_.last().caption, "Quillmark Coffer");
  }
}

TEST_F(Mounting, Version4ActivationFailureIsShownInTheRegistrationBox) {
  UseVersion(4);
  ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  VolumeRecord record{};
  ASSERT_EQ(FindVolumeEntry(record, u"\\My Documents\\a.zsf"), kEntryValid);
  // The container turns invalid between the list's check and the mount: the
  // driver refuses it (13), which must not pass without a word.
  std::filesystem::resize_file(Host(u"\\My Documents\\a.zsf"), 1000);
  EXPECT_EQ(MountVolume(record, u"pw", prompt_), 0u);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "13");
  EXPECT_EQ(prompt_.last().caption, "Mount Volume");
  EXPECT_EQ(prompt_.last().flags, kErrorBox);
  EXPECT_EQ(record.deviceHandle, 0u);
}

TEST_F(Mounting, Version3MountsTenFoldersAndRefusesTheEleventh) {
  UseVersion(3);
  for (int n = 0; n <= 10; ++n) MakeFolder(FolderPath(n), u"pw");
  std::vector<platform::DeviceHandle> handles;
  for (int n = 0; n < 10; ++n) {
    handles.push_back(Mount(FolderPath(n), u"pw", u"F"));
    ASSERT_NE(handles.back(), 0u) << n;
  }
  EXPECT_EQ(prompt_.count(), 0u);
  const std::vector<VolumeRow> before = RefreshVolumeList();
  ASSERT_EQ(before.size(), 11u);
  for (int n = 0; n < 10; ++n) {
    EXPECT_EQ(before[n].state, VolumeState::Mounted) << n;
    EXPECT_EQ(before[n].record.deviceHandle, handles[n]) << n;
  }
  EXPECT_EQ(before[10].state, VolumeState::NotMounted);

  EXPECT_EQ(Mount(FolderPath(10), u"pw"), 0u);
  ASSERT_EQ(prompt_.count(), 1u);  // the taken names (2404) show no box of their own
  EXPECT_EQ(prompt_.last().text,
            "Too many folders are opened.\nIt is impossible to mount more \nthan 10 folders at "
            "the same time.");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Coffer");

  const std::vector<VolumeRow> after = RefreshVolumeList();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].path, before[i].path);
    EXPECT_EQ(after[i].state, before[i].state);
    EXPECT_EQ(after[i].record.deviceHandle, before[i].record.deviceHandle);
  }
}

TEST_F(Mounting, Version3EndsTheLoopOnItsFourStoppingErrors) {
  UseVersion(3);
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  struct Case {
    uint32_t error;
    std::vector<std::string> texts;  // what the user sees, in order
  };
  const Case cases[] = {
      {2, {"Cannot locate /Windows/Secvol.dll"}},  // no registration box for 2
      {50, {"50"}},                                // its box, then nothing for -8
      {87, {}},
      {110, {}},
  };
  size_t attempts = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    UseScriptedDriver(std::to_string(c.error));
    prompt_.Clear();
    EXPECT_EQ(Mount(u"\\My Documents\\a.zsf", u"pw"), 0u);
    const std::vector<std::string> log = DriverLog();
    ASSERT_EQ(log.size(), ++attempts);  // no further index was tried
    EXPECT_EQ(log.back(), "fail " + std::to_string(c.error));
    std::vector<std::string> texts;
    for (const auto& shown : prompt_.shown()) texts.push_back(shown.text);
    EXPECT_EQ(texts, c.texts);
    if (c.error == 50) {
      EXPECT_EQ(prompt_.last().caption, "Mount Volume");
      EXPECT_EQ(prompt_.last().flags, kErrorBox);
    }
  }
}

TEST_F(Mounting, Version3TriesTheNextIndexAfterOtherErrorsAndHandsTheHandleToThatDevice) {
  UseVersion(3);
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  UseScriptedDriver("21 32 ok");
  VolumeRecord record{};
  ASSERT_EQ(FindVolumeEntry(record, u"\\My Documents\\a.zsf"), kEntryValid);
  const platform::DeviceHandle handle = MountVolume(record, u"pw", prompt_);
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(record.deviceHandle, handle);
  ASSERT_EQ(prompt_.count(), 2u);
  EXPECT_EQ(prompt_.shown()[0].text, "Device is not ready.");
  EXPECT_EQ(prompt_.shown()[0].caption, "Mount Volume");
  EXPECT_EQ(prompt_.shown()[1].text, "File sharing violation.");
  EXPECT_EQ(DriverLog(),
            (std::vector<std::string>{"fail 21", "fail 32", "init " + std::to_string(handle)}));
  // The third index took the folder; the first two stayed free.
  platform::Device device;
  EXPECT_EQ(device.Open(u"VDD2:", platform::GENERIC_WRITE, 0, platform::DEVICE_OPEN_SYSTEM), 0u);
  device.Close();
  EXPECT_EQ(device.Open(u"VDD0:", platform::GENERIC_WRITE, 0, platform::DEVICE_OPEN_SYSTEM),
            platform::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(UnmountVolume(u"\\My Documents\\a.zsf"), 0);  // the entry learns it at refresh
  EXPECT_TRUE(platform::DeregisterDevice(handle));
}

TEST_F(Mounting, Version3ShowsEveryRefusedIndexThenTooManyFolders) {
  UseVersion(3);
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  UseScriptedDriver("21 21 21 21 21 21 21 21 21 21 ok");
  EXPECT_EQ(Mount(u"\\My Documents\\a.zsf", u"pw"), 0u);
  const std::vector<platform::ShownMessage> shown = prompt_.shown();
  ASSERT_EQ(shown.size(), 11u);
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(shown[i].text, "Device is not ready.") << i;
  EXPECT_EQ(shown[10].text,
            "Too many folders are opened.\nIt is impossible to mount more \nthan 10 folders at "
            "the same time.");
  EXPECT_EQ(shown[10].caption, "Quillmark Coffer");
  EXPECT_EQ(DriverLog().size(), 10u);
}

TEST_F(Mounting, Version3DeviceThatRefusesItsHandleIsReleasedAndReported) {
  UseVersion(3);
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  UseScriptedDriver("refuse");
  VolumeRecord record{};
  ASSERT_EQ(FindVolumeEntry(record, u"\\My Documents\\a.zsf"), kEntryValid);
  platform::DeviceHandle handle = 0;
  EXPECT_EQ(TryMountVolume(record, u"pw", prompt_, &handle), kMountNoFileSystem);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(record.deviceHandle, 0u);
  const std::vector<std::string> log = DriverLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].substr(0, 5), "init ");
  EXPECT_EQ(log[1], "de" + log[0]);  // deregistered again

  UseScriptedDriver("refuse");
  EXPECT_EQ(MountVolume(record, u"pw", prompt_), 0u);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Unable to load file system (fatfs.dll)");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Coffer");
  EXPECT_EQ(prompt_.last().flags, kErrorBox);
}

TEST_F(Mounting, Version4RefusesTheEleventhFolderWithTheTooManyMessage) {
  UseVersion(4);
  ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
  for (int n = 0; n <= 10; ++n) MakeFolder(FolderPath(n), u"pw");
  for (int n = 0; n < 10; ++n) ASSERT_NE(Mount(FolderPath(n), u"pw"), 0u) << n;
  EXPECT_EQ(Mount(FolderPath(10), u"pw"), 0u);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text,
            "Too many folders are opened.\nIt is impossible to mount more \nthan 10 folders at "
            "the same time.");
  const std::vector<VolumeRow> rows = RefreshVolumeList();
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows[10].state, VolumeState::NotMounted);
}

TEST_F(Mounting, Version4ProfileNamesTheFolderMountedLast) {
  UseVersion(4);
  ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
  MakeFolder(u"\\My Documents\\a.zsf", u"pa");
  MakeFolder(u"\\My Documents\\b.zsf", u"pb", 6);
  ASSERT_NE(Mount(u"\\My Documents\\a.zsf", u"pa", u"Secret"), 0u);
  platform::RegKey profile;
  ASSERT_EQ(
      profile.Open(platform::RegRootKey(platform::RegStore::Device, platform::HKEY_LOCAL_MACHINE),
                   "System\\StorageManager\\Profiles\\ZSF_TMP"),
      0u);
  EXPECT_EQ(profile.StringOr("Folder", std::u16string_view()), u"Secret");
  ASSERT_NE(Mount(u"\\My Documents\\b.zsf", u"pb", u"Work"), 0u);
  EXPECT_EQ(profile.StringOr("Folder", std::u16string_view()), u"Work");
  platform::RegValue value;
  ASSERT_EQ(profile.QueryValue("Folder", &value), 0u);
  EXPECT_EQ(value.type, platform::REG_SZ);
  EXPECT_EQ(value.data.size(), (4 + 1) * 2u);  // stored with its terminator
  EXPECT_EQ(prompt_.count(), 0u);

  const std::vector<VolumeRow> rows = RefreshVolumeList();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].state, VolumeState::Mounted);
  EXPECT_EQ(platform::FieldText(rows[0].record.mountName), u"Secret");
  EXPECT_EQ(rows[1].state, VolumeState::Mounted);
  EXPECT_EQ(rows[1].cipherName, u"Rijndael-256");
  EXPECT_EQ(platform::FieldText(rows[1].record.mountName), u"Work");
}

TEST_F(Mounting, DeletedContainerShowsMissingAndItsStaleHandleIsReleased) {
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  MakeFolder(u"\\My Documents\\b.zsf", u"pw");
  ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
  const platform::DeviceHandle a = Mount(u"\\My Documents\\a.zsf", u"pw");
  const platform::DeviceHandle b = Mount(u"\\My Documents\\b.zsf", u"pw");
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_EQ(StateOf(u"\\My Documents\\a.zsf"), VolumeState::Mounted);

  std::filesystem::remove(Host(u"\\My Documents\\a.zsf"));
  const std::vector<VolumeRow> rows = RefreshVolumeList();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].state, VolumeState::Missing);
  EXPECT_EQ(rows[0].record.deviceHandle, 0u);
  EXPECT_EQ(rows[0].sizeKb, 0u);
  EXPECT_EQ(rows[0].cipherName, u"None");
  EXPECT_EQ(rows[1].state, VolumeState::Mounted);
  EXPECT_FALSE(FindFolderDevice(a).has_value());  // released
  EXPECT_TRUE(FindFolderDevice(b).has_value());
  EXPECT_FALSE(platform::DeactivateDevice(a));
}

TEST_F(Mounting, StaleHandleOfAnotherFolderIsNotReleased) {
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  MakeFolder(u"\\My Documents\\gone.zsf", u"pw");
  ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
  const platform::DeviceHandle a = Mount(u"\\My Documents\\a.zsf", u"pw");
  ASSERT_NE(a, 0u);
  // An entry left from before a restart of the device manager claims the
  // number that now belongs to folder a.
  VolumeRecord gone{};
  FindVolumeEntry(gone, u"\\My Documents\\gone.zsf");
  gone.deviceHandle = a;
  WriteVolumeEntry(gone);
  std::filesystem::remove(Host(u"\\My Documents\\gone.zsf"));

  const std::vector<VolumeRow> rows = RefreshVolumeList();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].state, VolumeState::Mounted);
  EXPECT_EQ(rows[0].record.deviceHandle, a);
  EXPECT_EQ(rows[1].state, VolumeState::Missing);
  EXPECT_EQ(rows[1].record.deviceHandle, 0u);
  EXPECT_TRUE(FindFolderDevice(a).has_value());
}

TEST_F(Mounting, FolderMountedBeforeARestartShowsMountedAgain) {
  MakeFolder(u"\\My Documents\\a.zsf", u"pw", 4, 512, u"Kept");
  ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
  const platform::DeviceHandle handle = Mount(u"\\My Documents\\a.zsf", u"pw");
  ASSERT_NE(handle, 0u);
  // The program ended before any refresh, and its entry was lost meanwhile.
  ASSERT_EQ(DeleteVolumeEntry(u"\\My Documents\\a.zsf"), 0u);

  platform::RegCloseStores();
  const std::vector<VolumeRow> rows = RefreshVolumeList();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].path, u"\\My Documents\\a.zsf");
  EXPECT_EQ(rows[0].state, VolumeState::Mounted);
  EXPECT_EQ(rows[0].record.deviceHandle, handle);
  EXPECT_EQ(rows[0].sizeKb, 512u);
  EXPECT_EQ(rows[0].cipherName, u"RC6");
  EXPECT_EQ(platform::FieldText(rows[0].record.mountName), u"Kept");
}

TEST_F(Mounting, UnmountReleasesOnceThenFindsNothing) {
  for (uint32_t version : {3u, 4u}) {
    SCOPED_TRACE(version);
    UseVersion(version);
    ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
    const std::u16string path = FolderPath(static_cast<int>(version));
    MakeFolder(path, u"pw");
    ASSERT_NE(Mount(path, u"pw"), 0u);
    EXPECT_EQ(StateOf(path), VolumeState::Mounted);
    EXPECT_EQ(UnmountVolume(path), 1);
    EXPECT_EQ(StateOf(path), VolumeState::NotMounted);
    EXPECT_EQ(UnmountVolume(path), 0);
  }
  EXPECT_EQ(UnmountVolume(u"\\My Documents\\unknown.zsf"), 0);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(Mounting, SectorsWrittenThroughTheFolderAreEncipheredAndSurviveARemount) {
  for (uint32_t version : {3u, 4u}) {
    SCOPED_TRACE(version);
    UseVersion(version);
    ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
    const std::u16string path = FolderPath(static_cast<int>(version));
    MakeFolder(path, u"sector pw", 5);
    platform::DeviceHandle handle = Mount(path, u"sector pw");
    ASSERT_NE(handle, 0u);
    RefreshVolumeList();  // the entry learns its handle from the driver
    std::optional<uint32_t> device = FindFolderDevice(handle);
    ASSERT_TRUE(device.has_value());

    std::array<uint8_t, 512> plain;
    for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 7 + version);
    ASSERT_EQ(WriteFolderSector(*device, 5, plain), 0u);
    std::array<uint8_t, 512> back{};
    ASSERT_EQ(ReadFolderSector(*device, 5, back), 0u);
    EXPECT_EQ(back, plain);
    uint32_t count = 0;
    ASSERT_EQ(FolderSectorCount(*device, count), 0u);
    EXPECT_EQ(count, 512u);
    EXPECT_EQ(ReadFolderSector(*device, 512, back), 27u);  // "Sector not found."
    ASSERT_EQ(UnmountVolume(path), 1);
    RefreshVolumeList();

    // On disk: the sector under Rijndael-128 with a key made from the password.
    CipherLibrary cipher;
    ASSERT_EQ(cipher.Load(kCipherRijndael128), 0);
    uint8_t key[1024];
    cipher.CreateKey(PasswordBytes(u"sector pw"), key);
    std::array<uint8_t, 512> expected = plain;
    cipher.Encrypt(expected, key);
    const std::vector<uint8_t> onDisk = ReadHostBytes(Host(path), SectorOffset(5), 512);
    EXPECT_TRUE(std::equal(onDisk.begin(), onDisk.end(), expected.begin(), expected.end()));
    EXPECT_FALSE(std::equal(onDisk.begin(), onDisk.end(), plain.begin(), plain.end()));

    handle = Mount(path, u"sector pw");
    ASSERT_NE(handle, 0u);
    RefreshVolumeList();
    device = FindFolderDevice(handle);
    ASSERT_TRUE(device.has_value());
    back.fill(0);
    ASSERT_EQ(ReadFolderSector(*device, 5, back), 0u);
    EXPECT_EQ(back, plain);
    ASSERT_EQ(UnmountVolume(path), 1);
  }
}

}  // namespace
}  // namespace folders
