// The folder list in the device registry, the driver key and the name tables.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "folders/volumes/CipherNames.h"
#include "folders/volumes/DriverKey.h"
#include "folders/volumes/Mount.h"
#include "folders/volumes/VolumeList.h"
#include "folders/volumes/tests/FolderDeviceTest.h"
#include "platform/RegKey.h"
#include "platform/Text.h"

namespace folders {
namespace {

using platform::RegKey;
using testing::FolderDeviceTest;

platform::HKEY DeviceRoot(platform::HKEY root) {
  return platform::RegRootKey(platform::RegStore::Device, root);
}

std::vector<uint8_t> Utf16Z(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

using VolumeList = FolderDeviceTest;

TEST_F(VolumeList, EntryIs134BytesOfHandleAndNameUnderThePathInAClassedKey) {
  VolumeRecord record = MakeFolder(u"\\My Documents\\a.zsf", u"secret", 3, 256, u"Secret");
  record.deviceHandle = 0x01020304;
  ASSERT_EQ(WriteVolumeEntry(record), 0u);

  RegKey parent;
  ASSERT_EQ(
      parent.Open(DeviceRoot(platform::HKEY_CURRENT_USER), "Software\\Quillmark Lab\\Security"),
      0u);
  std::string name, className;
  ASSERT_EQ(parent.EnumSubKey(0, &name, &className), 0u);
  EXPECT_EQ(name, "Volumes");
  EXPECT_EQ(className, "REG_BINARY");

  RegKey key;
  ASSERT_EQ(key.Open(DeviceRoot(platform::HKEY_CURRENT_USER), kVolumesKey), 0u);
  platform::RegValue value;
  ASSERT_EQ(key.EnumValue(0, &name, &value), 0u);
  EXPECT_EQ(name, "\\My Documents\\a.zsf");
  EXPECT_EQ(value.type, platform::REG_BINARY);
  ASSERT_EQ(value.data.size(), 134u);
  EXPECT_EQ(std::memcmp(value.data.data(), "\x04\x03\x02\x01\0\0", 6), 0);
  const std::vector<uint8_t> mountName = Utf16Z(u"Secret");
  EXPECT_TRUE(std::equal(mountName.begin(), mountName.end(), value.data.begin() + 6));
  EXPECT_EQ(key.EnumValue(1, &name, &value), platform::ERROR_NO_MORE_ITEMS);

  VolumeRecord back{};
  ASSERT_EQ(FindVolumeEntry(back, u"\\My Documents\\a.zsf"), kEntryValid);
  EXPECT_EQ(back.deviceHandle, 0x01020304u);
  EXPECT_EQ(platform::FieldText(back.mountName), u"Secret");
  EXPECT_EQ(back.algorithm, 3);
  EXPECT_EQ(back.sizeKb, 256u);  // 262,196 bytes / 1024
  EXPECT_EQ(std::memcmp(back.passwordDigest, record.passwordDigest, 16), 0);
}

TEST_F(VolumeList, ReadEntryTellsAbsentValidAndMissingApart) {
  VolumeRecord record{};
  EXPECT_EQ(ReadVolumeEntry(record, 0), kNoEntry);  // no list key at all

  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  MakeFolder(u"\\My Documents\\b.zsf", u"pw", 6);
  std::filesystem::remove(Host(u"\\My Documents\\b.zsf"));

  ASSERT_EQ(ReadVolumeEntry(record, 0), kEntryValid);
  EXPECT_EQ(platform::FieldText(record.path), u"\\My Documents\\a.zsf");
  ASSERT_EQ(ReadVolumeEntry(record, 1), kEntryMissing);
  EXPECT_EQ(platform::FieldText(record.path), u"\\My Documents\\b.zsf");
  EXPECT_EQ(record.sizeKb, 0u);
  EXPECT_EQ(record.algorithm, 0);
  EXPECT_EQ(ReadVolumeEntry(record, 2), kNoEntry);
  EXPECT_EQ(platform::FieldText(record.path), u"\\My Documents\\b.zsf");  // untouched

  EXPECT_EQ(FindVolumeEntry(record, u"\\my documents\\A.ZSF"), kEntryValid);
  EXPECT_EQ(FindVolumeEntry(record, u"\\My Documents\\c.zsf"), kNoEntry);
  VolumeRecord byOwnPath{};
  platform::CopyToField(byOwnPath.path, u"\\My Documents\\b.zsf");
  EXPECT_EQ(FindVolumeEntry(byOwnPath), kEntryMissing);
}

TEST_F(VolumeList, InvalidContainerReadsAsMissing) {
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  std::filesystem::resize_file(Host(u"\\My Documents\\a.zsf"), 262196 - 1);
  VolumeRecord record{};
  EXPECT_EQ(ReadVolumeEntry(record, 0), kEntryMissing);
  EXPECT_EQ(record.sizeKb, 0u);
}

TEST_F(VolumeList, ForeignValueDataIsReadWithinTheRecord) {
  RegKey key;
  ASSERT_EQ(key.Create(DeviceRoot(platform::HKEY_CURRENT_USER), kVolumesKey), 0u);
  ASSERT_EQ(key.SetBinary(u"\\short.zsf", std::vector<uint8_t>{7, 0, 0, 0}), 0u);
  std::vector<uint8_t> unterminated(400, 'A');  // longer than 134, no terminator anywhere
  ASSERT_EQ(key.SetBinary(u"\\long.zsf", unterminated), 0u);

  VolumeRecord record{};
  ASSERT_EQ(ReadVolumeEntry(record, 0), kEntryMissing);
  EXPECT_EQ(record.deviceHandle, 7u);
  EXPECT_EQ(platform::FieldText(record.mountName), u"");
  ASSERT_EQ(ReadVolumeEntry(record, 1), kEntryMissing);
  EXPECT_EQ(record.mountName[kMountNameChars - 1], u'\0');
  EXPECT_EQ(platform::FieldText(record.mountName).size(), kMountNameChars - 1);
  EXPECT_EQ(record.reserved3, 0);  // nothing beyond byte 681 was taken from the value
}

TEST_F(VolumeList, EmptyValueReadsAsNoHandleAndNoName) {
  RegKey key;
  ASSERT_EQ(key.Create(DeviceRoot(platform::HKEY_CURRENT_USER), kVolumesKey), 0u);
  ASSERT_EQ(key.SetBinary(u"\\empty.zsf", std::vector<uint8_t>{}), 0u);
  VolumeRecord record{};
  record.deviceHandle = 9;
  platform::CopyToField(record.mountName, u"old");
  ASSERT_EQ(ReadVolumeEntry(record, 0), kEntryMissing);
  EXPECT_EQ(platform::FieldText(record.path), u"\\empty.zsf");
  EXPECT_EQ(record.deviceHandle, 0u);
  EXPECT_EQ(platform::FieldText(record.mountName), u"");
}

TEST_F(VolumeList, DeleteRemovesOnlyThatEntryAndEmptyPathIsRefused) {
  MakeFolder(u"\\My Documents\\a.zsf", u"pw");
  MakeFolder(u"\\My Documents\\b.zsf", u"pw");
  EXPECT_EQ(DeleteVolumeEntry(u"\\My Documents\\a.zsf"), 0u);
  EXPECT_EQ(DeleteVolumeEntry(u"\\My Documents\\a.zsf"), platform::ERROR_FILE_NOT_FOUND);
  VolumeRecord record{};
  ASSERT_EQ(ReadVolumeEntry(record, 0), kEntryValid);
  EXPECT_EQ(platform::FieldText(record.path), u"\\My Documents\\b.zsf");
  EXPECT_EQ(ReadVolumeEntry(record, 1), kNoEntry);

  VolumeRecord unnamed{};
  EXPECT_EQ(WriteVolumeEntry(unnamed), platform::ERROR_INVALID_PARAMETER);
}

using DriverKeyTest = FolderDeviceTest;

TEST_F(DriverKeyTest, WritesThreeTerminatedStrings) {
  ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);
  RegKey key;
  ASSERT_EQ(key.Open(DeviceRoot(platform::HKEY_LOCAL_MACHINE), "Drivers\\ZSecurity"), 0u);
  platform::RegValue value;
  ASSERT_EQ(key.QueryValue("Prefix", &value), 0u);
  EXPECT_EQ(value.type, platform::REG_SZ);
  EXPECT_EQ(value.data, Utf16Z(u"VDD"));
  ASSERT_EQ(key.QueryValue("Dll", &value), 0u);
  EXPECT_EQ(value.data, Utf16Z(u"secvol.dll"));
  ASSERT_EQ(key.QueryValue("IClass", &value), 0u);
  EXPECT_EQ(value.data, Utf16Z(u"{A4E7EDDA-E575-4252-9D6B-4195D48BB865}"));
}

TEST_F(DriverKeyTest, FailurePrintsTheMessageAndLeavesTheKeyAsItWas) {
  RegKey key;
  ASSERT_EQ(key.Create(DeviceRoot(platform::HKEY_LOCAL_MACHINE), "Drivers\\ZSecurity"), 0u);
  ASSERT_EQ(key.SetString("Prefix", std::string_view("OLD")), 0u);
  // "Prefix" is written first; a driver name beyond the registry's value
  // limit then fails, and the whole write must be undone.
  const std::u16string tooLong(platform::kRegMaxValueDataSize, u'x');
  ::testing::internal::CaptureStderr();
  EXPECT_NE(RegisterDriverKey(tooLong, kDriverKeyPath), 0u);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "ERROR Opening the registry key\r\n");
  std::u16string prefix;
  ASSERT_EQ(key.QueryString("Prefix", &prefix), 0u);
  EXPECT_EQ(prefix, u"OLD");
  EXPECT_FALSE(key.HasValue("Dll"));
  EXPECT_FALSE(key.HasValue("IClass"));
}

TEST(CipherNames, RC4AndUnknownNumbersShowAsNoneInTheListAndAsUnknownInDialogs) {
  EXPECT_EQ(std::u16string(MainListCipherName(2)), u"None");
  EXPECT_EQ(std::u16string(DialogCipherName(2)), u"???");
  EXPECT_EQ(std::u16string(MainListCipherName(51)), u"None");
  EXPECT_EQ(std::u16string(DialogCipherName(5)), u"Rijndael-128");
  EXPECT_EQ(CipherChoiceName(2), nullptr);
}

TEST(MountErrorBox, TextsByErrorCodeAndSilentCodes) {
  EXPECT_EQ(MountErrorBoxText(2), "Cannot find Secvol.dll");
  EXPECT_EQ(MountErrorBoxText(3), "The system cannot find the path specified.");
  EXPECT_EQ(MountErrorBoxText(21), "Device is not ready.");
  EXPECT_EQ(MountErrorBoxText(27), "Sector not found.");
  EXPECT_EQ(MountErrorBoxText(32), "File sharing violation.");
  EXPECT_EQ(MountErrorBoxText(86), "Password is incorrect.");
  EXPECT_EQ(MountErrorBoxText(87), std::nullopt);
  EXPECT_EQ(MountErrorBoxText(110), std::nullopt);
  EXPECT_EQ(MountErrorBoxText(2404), std::nullopt);
  EXPECT_EQ(MountErrorBoxText(50), "50");
  EXPECT_EQ(MountErrorBoxText(1460), "1460");
  EXPECT_EQ(FolderDeviceName(0), u"VDD0:");
  EXPECT_EQ(FolderDeviceName(9), u"VDD9:");
}

}  // namespace
}  // namespace folders
