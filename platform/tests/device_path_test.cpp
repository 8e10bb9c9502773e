// Handheld path resolution: separators, letter case, containment, mounts and the mount file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/FileAttributes.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "platform/MountTable.h"
#include "platform/tests/TempDevice.h"

namespace platform {
namespace {

using DevicePath = TempDevice;

TEST_F(DevicePath, BackslashAndSlashFormsNameTheSameHostFile) {
  const std::string file = Put("device/My Documents/x.txt");
  EXPECT_EQ(ResolveDevicePath("\\My Documents\\x.txt").host, file);
  EXPECT_EQ(ResolveDevicePath("/My Documents/x.txt").host, file);
  EXPECT_EQ(ResolveDevicePath("My Documents\\\\x.txt").host, file);
  EXPECT_EQ(ResolveDevicePath(u"\\My Documents\\.\\x.txt").host, file);
}

TEST_F(DevicePath, RootIsTheDeviceFolderAndCarriesTheMounts) {
  MountCard("Storage Card", "card");
  for (const char* root : {"\\", "/", ""}) {
    const FilePath p = ResolveDevicePath(root);
    ASSERT_TRUE(p.ok()) << root;
    EXPECT_EQ(p.host, Host("device"));
    EXPECT_EQ(p.kind, PathKind::DeviceRoot);
    ASSERT_NE(p.mounts, nullptr);
    EXPECT_EQ(p.mounts->mounts().size(), 1u);
  }
}

TEST_F(DevicePath, OtherLetterCaseFindsTheEntryByItsRealName) {
  const std::string file = Put("device/My Documents/Report.TXT");
  const FilePath p = ResolveDevicePath(u"\\my documents\\report.txt");
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p.host, file);
  EXPECT_EQ(p.hostAsGiven, Host("device/My Documents/report.txt"));
}

TEST_F(DevicePath, ExactMatchWinsOverAnEntryOfOtherCase) {
  Put("device/readme.txt", "lower");
  const std::string upper = Put("device/README.TXT", "upper");
  const FilePath p = ResolveDevicePath("\\README.TXT");
  EXPECT_EQ(p.host, upper);
  EXPECT_TRUE(p.hostAsGiven.empty());
}

TEST_F(DevicePath, NonAsciiNamesMatchRegardlessOfCase) {
  const std::string file = Put("device/Été/Ärger.txt");
  EXPECT_EQ(ResolveDevicePath(u"\\éTÉ\\äRGER.TXT").host, file);
}

TEST_F(DevicePath, MissingLastComponentKeepsTheCallersSpelling) {
  MakeFolder("device/Docs");
  const FilePath p = ResolveDevicePath("\\docs\\New File.TXT");
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p.host, Host("device/Docs/New File.TXT"));
}

TEST_F(DevicePath, MissingOrFileFolderOnTheWayIsPathNotFound) {
  Put("device/plain.txt");
  EXPECT_EQ(ResolveDevicePath("\\nowhere\\x.txt").error, ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(ResolveDevicePath("\\plain.txt\\x.txt").error, ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(ResolveDevicePath("\\PLAIN.TXT\\x.txt").error, ERROR_PATH_NOT_FOUND);
}

TEST_F(DevicePath, WildcardsAndForbiddenCharactersAreInvalidNames) {
  for (const char* bad : {"\\a*.txt", "\\a?b", "\\x\\y:z", "\\a|b", "\\a<b", "\\a\"b"})
    EXPECT_EQ(ResolveDevicePath(bad).error, ERROR_INVALID_NAME) << bad;
  EXPECT_EQ(ResolveDevicePath(std::string_view("\\a\0b", 4)).error, ERROR_INVALID_NAME);
}

TEST_F(DevicePath, DotDotNeverLeavesTheDeviceRoot) {
  Put("outside.txt", "secret");  // beside the device root, in the home
  const FilePath up = ResolveDevicePath("\\..\\outside.txt");
  ASSERT_TRUE(up.ok());
  EXPECT_EQ(up.host, Host("device/outside.txt"));
  EXPECT_EQ(ResolveDevicePath("\\a\\..\\..\\..\\..\\etc\\passwd").error, ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(ResolveDevicePath("/../../").host, Host("device"));
}

TEST_F(DevicePath, DotDotFromACardReturnsToTheDeviceRoot) {
  MountCard("Storage Card", "card");
  Put("device/top.txt");
  EXPECT_EQ(ResolveDevicePath("\\Storage Card\\..\\top.txt").host, Host("device/top.txt"));
  EXPECT_EQ(ResolveDevicePath("\\Storage Card\\..\\..\\..\\top.txt").host, Host("device/top.txt"));
}

TEST_F(DevicePath, CardIsReachedByNameInAnyLetterCase) {
  MountCard("Storage Card", "sd");
  const std::string file = Put("sd/Photos/a.jpg");
  const FilePath folder = ResolveDevicePath("\\storage card");
  EXPECT_EQ(folder.host, Host("sd"));
  EXPECT_EQ(folder.kind, PathKind::CardFolder);
  const FilePath inside = ResolveDevicePath("\\STORAGE CARD\\photos\\A.JPG");
  EXPECT_EQ(inside.host, file);
  EXPECT_EQ(inside.kind, PathKind::Plain);
}

TEST_F(DevicePath, MountNameComesBeforeAHostFolderOfTheSameName) {
  Put("device/Storage Card/host.txt");
  MountCard("Storage Card", "sd");
  Put("sd/card.txt");
  EXPECT_EQ(ResolveDevicePath("\\Storage Card\\card.txt").host, Host("sd/card.txt"));
  EXPECT_EQ(ResolveDevicePath("\\Storage Card\\host.txt").host, Host("sd/host.txt"));
}

TEST_F(DevicePath, CardWhoseFolderIsMissingIsAbsent) {
  ASSERT_EQ(AddDeviceMount({MountKind::Card, "Storage Card", Host("removed")}), 0u);
  const FilePath p = ResolveDevicePath("\\Storage Card\\x.txt");
  EXPECT_EQ(p.error, ERROR_PATH_NOT_FOUND);
}

TEST_F(DevicePath, EverythingBelowARomMountIsInRomAndReadOnly) {
  MountRom("Windows", "rom");
  Put("rom/sub/calc.exe");
  const FilePath folder = ResolveDevicePath("\\windows");
  EXPECT_EQ(folder.kind, PathKind::RomFolder);
  EXPECT_TRUE(folder.IsReadOnlyVolume());
  const FilePath file = ResolveDevicePath("\\Windows\\SUB\\calc.exe");
  EXPECT_EQ(file.host, Host("rom/sub/calc.exe"));
  EXPECT_EQ(file.kind, PathKind::InRom);
  EXPECT_TRUE(file.IsReadOnlyVolume());
}

TEST_F(DevicePath, MountFileIsReadAndRunMountsReplaceItsEntries) {
  MakeFolder("cardA");
  MakeFolder("cardB");
  MakeFolder("romdir");
  std::ofstream(Host("device-mounts.conf"))
      << "# mounts of the test\n"
      << "card Storage Card=" << Host("cardA") << "\n"
      << "\n"
      << "rom Windows=romdir\n"  // relative to the file's folder
      << "disk Other=/tmp\n";    // unknown kind: skipped
  ResetDeviceMounts();
  auto table = CurrentMountTable();
  ASSERT_EQ(table->mounts().size(), 2u);
  EXPECT_EQ(ResolveDevicePath("\\Storage Card").host, Host("cardA"));
  EXPECT_EQ(ResolveDevicePath("\\Windows").host, Host("romdir"));
  ASSERT_EQ(AddDeviceMount({MountKind::Card, "STORAGE CARD", Host("cardB")}), 0u);
  EXPECT_EQ(ResolveDevicePath("\\Storage Card").host, Host("cardB"));
  EXPECT_EQ(CurrentMountTable()->mounts().size(), 2u);
}

TEST_F(DevicePath, EnvironmentRepointsTheRootWithinOneProcess) {
  Put("device/a.txt");
  const std::string other = MakeFolder("other-root");
  ::setenv("QM_DEVICE_ROOT", other.c_str(), 1);
  EXPECT_EQ(ResolveDevicePath("\\a.txt").host, other + "/a.txt");
}

TEST_F(DevicePath, CachedListingSeesRenamesAndNewEntries) {
  const std::string first = Put("device/d/File.txt");
  ASSERT_EQ(ResolveDevicePath("\\d\\FILE.TXT").host, first);
  std::filesystem::rename(first, Host("device/d/fILE.txt"));
  EXPECT_EQ(ResolveDevicePath("\\d\\FILE.TXT").host, Host("device/d/fILE.txt"));
  Put("device/d/Later.bin");
  EXPECT_EQ(ResolveDevicePath("\\d\\LATER.BIN").host, Host("device/d/Later.bin"));
}

TEST_F(DevicePath, HostPathsMapBackToHandheldPaths) {
  MountCard("Storage Card", "sd");
  EXPECT_EQ(DevicePathFromHost(Host("device/My Documents/a.txt")), "\\My Documents\\a.txt");
  EXPECT_EQ(DevicePathFromHost(Host("device")), "\\");
  EXPECT_EQ(DevicePathFromHost(Host("sd/x/y.bin")), "\\Storage Card\\x\\y.bin");
  EXPECT_EQ(DevicePathFromHost(Host("devicex/a")), "");
  EXPECT_EQ(DevicePathFromHost("/etc/passwd"), "");
}

TEST_F(DevicePath, MappingThroughAHandheldPath) {
  Put("device/Base/ZEPBase.zvb", "abc");
  Put("device/Base/empty.zvb", "");
  MappedFile m;
  ASSERT_EQ(m.Open(ResolveDevicePath(u"\\base\\zepbase.zvb")), 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.data()), m.size()), "abc");
  EXPECT_EQ(m.Open(ResolveDevicePath("\\Base\\empty.zvb")), ERROR_FILE_INVALID);
  EXPECT_EQ(GetLastError(), 1006u);
  EXPECT_FALSE(m.isOpen());
  EXPECT_EQ(m.Open(ResolveDevicePath("\\nowhere\\x")), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(m.Open(ResolveDevicePath("\\Base\\none.zvb")), ERROR_FILE_NOT_FOUND);
}

TEST(MountTable, ParseReportsTheFirstBadLineAndKeepsTheGoodOnes) {
  size_t bad = 99;
  const auto mounts = ParseMountConfig(
      "card A=/a\n"
      "card =/x\n"      // no name
      "rom B\n"         // no "="
      "card C\\D=/y\n"  // separator in the name
      "  rom   Windows = /w  \r\n"
      "card a=/a2\n",  // same name, other case: replaces the first
      "/base", &bad);
  EXPECT_EQ(bad, 2u);
  ASSERT_EQ(mounts.size(), 2u);
  EXPECT_EQ(mounts[0].name, "a");
  EXPECT_EQ(mounts[0].hostFolder, "/a2");
  EXPECT_EQ(mounts[1].kind, MountKind::Rom);
  EXPECT_EQ(mounts[1].name, "Windows");
  EXPECT_EQ(mounts[1].hostFolder, "/w");
}

TEST(MountTable, ArgumentNamesAreCheckedAndRelativeFoldersAnchored) {
  DeviceMount m;
  EXPECT_EQ(ParseMountArgument("Storage Card=cards/one/", MountKind::Card, m, "/base"), 0u);
  EXPECT_EQ(m.name, "Storage Card");
  EXPECT_EQ(m.hostFolder, "/base/cards/one");
  const DeviceMount before = m;
  EXPECT_EQ(ParseMountArgument("..=/x", MountKind::Card, m), ERROR_INVALID_NAME);
  EXPECT_EQ(ParseMountArgument("a*b=/x", MountKind::Card, m), ERROR_INVALID_NAME);
  EXPECT_EQ(ParseMountArgument("NoFolder", MountKind::Card, m), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(ParseMountArgument("Card=", MountKind::Card, m), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(m.hostFolder, before.hostFolder);
  EXPECT_EQ(AddDeviceMount({MountKind::Card, "x/y", "/tmp"}), ERROR_INVALID_NAME);
  EXPECT_EQ(AddDeviceMount({MountKind::Card, "x", ""}), ERROR_INVALID_PARAMETER);
}

}  // namespace
}  // namespace platform
