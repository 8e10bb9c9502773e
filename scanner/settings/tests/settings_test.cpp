// The scanner's options in the device registry: values, limits, defaults and the Infected folder.
#include "scanner/settings/Settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Module.h"
#include "platform/MountTable.h"
#include "platform/RegKey.h"
#include "platform/Text.h"
#include "platform/tests/TempDevice.h"
#include "scanner/settings/tests/SettingsKey.h"

namespace scanner {
namespace {

using platform::RegKey;

constexpr char16_t kInstallInfected[] = u"\\program files\\zep ppc\\infected\\";
constexpr char16_t kInstallBases[] = u"\\program files\\zep ppc\\";

using testing::Utf16Bytes;

class SettingsTest : public platform::TempDevice {
 protected:
  void SetUp() override {
    TempDevice::SetUp();
    ::setenv("QM_DEVICE_REGISTRY", Host("device-registry.db").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("QM_DEVICE_REGISTRY");
    TempDevice::TearDown();
  }

  static platform::HKEY CurrentUser() {
    return platform::RegRootKey(platform::RegStore::Device, platform::HKEY_CURRENT_USER);
  }
  static RegKey Key() { return testing::SettingsKey(); }
  static void StoreText(const char16_t* name, std::u16string_view text, bool terminated = true) {
    ASSERT_EQ(Key().SetValue(name, platform::REG_SZ, Utf16Bytes(text, terminated)), 0u);
  }
  static std::u16string Text(const char16_t* field, size_t n) {
    return std::u16string(field, platform::FieldLength(field, n));
  }
  template <size_t N>
  static std::u16string Text(const char16_t (&field)[N]) {
    return Text(field, N);
  }
};

using Settings = SettingsTest;

TEST_F(Settings, MissingValuesLeaveMembersAsTheyWere) {
  Scanner scanner;
  scanner.flags = 0x5;
  platform::CopyToField(scanner.userMask, u"*.EXE");
  platform::CopyToField(scanner.reportPath, u"\\r.txt");
  EXPECT_EQ(LoadSettings(scanner), 1);
  EXPECT_EQ(scanner.flags, 0x5u);
  EXPECT_EQ(Text(scanner.userMask), u"*.EXE");
  EXPECT_EQ(Text(scanner.reportPath), u"\\r.txt");
}

TEST_F(Settings, StoredValuesAreReadAndOnlyTheFoldersAreLowerCased) {
  ASSERT_EQ(Key().SetDword(kFlagsValue, 0x1105), 0u);
  StoreText(kReportValue, u"\\Storage Card\\Rep.TXT");
  StoreText(kInfectedValue, u"\\My Documents\\Quarantäne\\");
  StoreText(kBasesValue, u"\\Bases\\");
  StoreText(kMaskValue, u"*.EXE");
  StoreText(kExcludeValue, u"Tmp*");
  Scanner scanner;
  EXPECT_EQ(LoadSettings(scanner), 1);
  EXPECT_EQ(scanner.flags, 0x1105u);
  EXPECT_EQ(Text(scanner.reportPath), u"\\Storage Card\\Rep.TXT");
  EXPECT_EQ(Text(scanner.infectedPath), u"\\my documents\\quarantäne\\");
  EXPECT_EQ(Text(scanner.szBasePath), u"\\bases\\");
  EXPECT_EQ(Text(scanner.userMask), u"*.EXE");
  EXPECT_EQ(Text(scanner.excludeMask), u"Tmp*");
  // No default was needed, so the install folder was not made.
  EXPECT_FALSE(std::filesystem::exists(Host("device/Program Files")));
}

TEST_F(Settings, TextsUpToTheReadLimitAreReadLongerOnesKeepTheDefault) {
  const std::u16string path129(129, u'p');
  const std::u16string mask63(63, u'm');
  struct Case {
    const char16_t* name;
    std::u16string stored;
    bool terminated;
    bool read;
  };
  const std::vector<Case> cases = {
      {kReportValue, path129, true, true},
      {kReportValue, path129 + u'p', true, false},
      // 260 bytes without a terminator fill the buffer but not the field.
      {kReportValue, path129 + u'p', false, false},
      {kReportValue, path129, false, true},
      {kInfectedValue, path129, true, true},
      {kInfectedValue, path129 + u'p', true, false},
      {kBasesValue, path129 + u'p', true, false},
      {kMaskValue, mask63, true, true},
      {kMaskValue, mask63 + u'm', true, false},
      {kExcludeValue, mask63 + u'm', true, false},
      {kExcludeValue, mask63 + u'm', false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Utf16ToUtf8(c.name) + " of " + std::to_string(c.stored.size()) +
                 (c.terminated ? " terminated" : " unterminated"));
    StoreText(c.name, c.stored, c.terminated);
    Scanner scanner;
    ASSERT_EQ(LoadSettings(scanner), 1);
    const std::u16string_view name = c.name;
    const std::u16string got = name == kReportValue     ? Text(scanner.reportPath)
                               : name == kInfectedValue ? Text(scanner.infectedPath)
                               : name == kBasesValue    ? Text(scanner.szBasePath)
                               : name == kMaskValue     ? Text(scanner.userMask)
                                                        : Text(scanner.excludeMask);
    const std::u16string fallback = name == kReportValue     ? u"/My Documents/ZEPReport.txt"
                                    : name == kInfectedValue ? kInstallInfected
                                    : name == kBasesValue    ? kInstallBases
                                                             : u"";
    EXPECT_EQ(got, c.read ? c.stored : fallback);
    ASSERT_EQ(Key().DeleteValue(c.name), 0u);
  }
}

TEST_F(Settings, ValuesOfAnotherTypeOrSizeAreNotRead) {
  const uint8_t four[] = {0x01, 0x00, 0x00, 0x00};
  const uint8_t eight[] = {0x01, 0, 0, 0, 0, 0, 0, 0};
  const uint8_t two[] = {0x01, 0x00};
  RegKey key = Key();
  for (auto [type, bytes] : {std::pair{platform::REG_BINARY, std::span<const uint8_t>(four)},
                             std::pair{platform::REG_DWORD, std::span<const uint8_t>(eight)},
                             std::pair{platform::REG_DWORD, std::span<const uint8_t>(two)},
                             std::pair{platform::REG_SZ, std::span<const uint8_t>(four)}}) {
    SCOPED_TRACE(std::to_string(type) + "/" + std::to_string(bytes.size()));
    ASSERT_EQ(key.SetValue(kFlagsValue, type, bytes), 0u);
    Scanner scanner;
    ASSERT_EQ(LoadSettings(scanner), 1);
    EXPECT_EQ(scanner.flags, kDefaultScanFlags);
  }
  ASSERT_EQ(key.SetDword(kReportValue, 7), 0u);
  ASSERT_EQ(key.SetBinary(kInfectedValue, Utf16Bytes(u"\\X\\")), 0u);
  ASSERT_EQ(key.SetDword(kMaskValue, 7), 0u);
  Scanner scanner;
  ASSERT_EQ(LoadSettings(scanner), 1);
  EXPECT_EQ(Text(scanner.reportPath), u"/My Documents/ZEPReport.txt");
  EXPECT_EQ(Text(scanner.infectedPath), kInstallInfected);
  EXPECT_EQ(Text(scanner.userMask), u"");
}

TEST_F(Settings, SaveWritesSixValuesWithTheirTypesAndSizesAndReadsBack) {
  Scanner saved;
  saved.flags = 0x1401;
  platform::CopyToField(saved.reportPath, u"\\rep.txt");
  platform::CopyToField(saved.infectedPath, u"\\q\\");
  platform::CopyToField(saved.szBasePath, u"\\b\\");
  platform::CopyToField(saved.userMask, u"*.exe");
  ASSERT_EQ(SaveSettings(saved), 1);

  RegKey key;
  ASSERT_EQ(key.Open(CurrentUser(), kSettingsKey), 0u);
  const std::vector<std::pair<std::string, std::u16string>> texts = {
      {"Report", u"\\rep.txt"}, {"Infected", u"\\q\\"}, {"Bases", u"\\b\\"},
      {"Mask", u"*.exe"},       {"Exclude", u""},
  };
  std::string name;
  platform::RegValue value;
  ASSERT_EQ(key.EnumValue(0, &name, &value), 0u);
  EXPECT_EQ(name, "Flags");
  EXPECT_EQ(value.type, platform::REG_DWORD);
  EXPECT_EQ(value.data, (std::vector<uint8_t>{0x01, 0x14, 0x00, 0x00}));
  for (size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(key.EnumValue(static_cast<uint32_t>(i + 1), &name, &value), 0u);
    EXPECT_EQ(name, texts[i].first);
    EXPECT_EQ(value.type, platform::REG_SZ);
    EXPECT_EQ(value.data, Utf16Bytes(texts[i].second)) << name;
  }
  EXPECT_EQ(key.EnumValue(6, &name, &value), platform::ERROR_NO_MORE_ITEMS);

  Scanner loaded;
  ASSERT_EQ(LoadSettings(loaded), 1);
  EXPECT_EQ(loaded.flags, 0x1401u);
  EXPECT_EQ(Text(loaded.reportPath), u"\\rep.txt");
  EXPECT_EQ(Text(loaded.infectedPath), u"\\q\\");
  EXPECT_EQ(Text(loaded.szBasePath), u"\\b\\");
  EXPECT_EQ(Text(loaded.userMask), u"*.exe");
}

TEST_F(Settings, UnusableRegistryKeepsDefaultsAndFailsBothWays) {
  // A folder where the store file should be cannot be opened as a store.
  ::setenv("QM_DEVICE_REGISTRY", MakeFolder("not-a-store").c_str(), 1);
  Scanner scanner;
  scanner.flags = 0x5;
  EXPECT_EQ(LoadSettings(scanner), 0);
  EXPECT_EQ(scanner.flags, 0x5u);
  EXPECT_EQ(Text(scanner.reportPath), u"/My Documents/ZEPReport.txt");
  // The folders still have somewhere to be.
  EXPECT_EQ(Text(scanner.infectedPath), kInstallInfected);
  EXPECT_EQ(Text(scanner.szBasePath), kInstallBases);
  EXPECT_EQ(SaveSettings(scanner), 0);
}

TEST_F(Settings, ProgramFolderIsItsHandheldPathInsideTheDeviceElseTheInstallFolder) {
  EXPECT_EQ(ProgramDeviceFolder(), u"\\Program Files\\ZEP PPC\\");
  EXPECT_TRUE(std::filesystem::is_directory(Host("device/Program Files/ZEP PPC")));

  ASSERT_EQ(platform::AddDeviceMount(
                {platform::MountKind::Card, "Storage Card", platform::ProgramFolder()}),
            0u);
  EXPECT_EQ(ProgramDeviceFolder(), u"\\Storage Card\\");

  platform::ResetDeviceMounts();
  ::setenv("QM_DEVICE_ROOT", platform::ProgramFolder().c_str(), 1);
  platform::ResetDeviceMounts();
  EXPECT_EQ(ProgramDeviceFolder(), u"\\");
  ::setenv("QM_DEVICE_ROOT", std::filesystem::path(platform::ProgramFolder()).parent_path().c_str(),
           1);
  platform::ResetDeviceMounts();
  const std::string own = std::filesystem::path(platform::ProgramFolder()).filename().string();
  EXPECT_EQ(ProgramDeviceFolder(), u"\\" + platform::Utf8ToUtf16(own) + u"\\");
}

class InfectedFolder : public SettingsTest {
 protected:
  bool Ensure(std::u16string_view path) {
    scanner_.flags = kDefaultScanFlags | kCopyToInfected;
    platform::CopyToField(scanner_.infectedPath, path);
    return EnsureInfectedFolder(scanner_);
  }
  bool CopyOn() const { return (scanner_.flags & kCopyToInfected) != 0; }
  std::u16string Path() const { return Text(scanner_.infectedPath); }

  Scanner scanner_;
};

TEST_F(InfectedFolder, IsCreatedAndEndsInOneBackslash) {
  MakeFolder("device/My Documents");
  EXPECT_TRUE(Ensure(u"\\my documents\\infected/\\/"));
  EXPECT_EQ(Path(), u"\\my documents\\infected\\");
  EXPECT_TRUE(CopyOn());
  EXPECT_TRUE(std::filesystem::is_directory(Host("device/My Documents/infected")));

  // Existing already counts as made; no separator at all gains one.
  EXPECT_TRUE(Ensure(u"\\My Documents\\Infected"));
  EXPECT_EQ(Path(), u"\\My Documents\\Infected\\");
  EXPECT_TRUE(CopyOn());
}

TEST_F(InfectedFolder, ImpossiblePathsSwitchCopyOff) {
  Put("device/notes.txt", "x");
  Put("device/infected", "a file, not a folder");
  struct Case {
    std::u16string_view given;
    std::u16string_view after;
  };
  for (const Case& c :
       {Case{u"\\notes.txt\\infected\\", u"\\notes.txt\\infected\\"},
        Case{u"\\missing\\deeper\\infected", u"\\missing\\deeper\\infected\\"},
        Case{u"\\infected\\", u"\\infected\\"}, Case{u"\\bad*name\\", u"\\bad*name\\"}}) {
    SCOPED_TRACE(platform::Utf16ToUtf8(c.given));
    EXPECT_FALSE(Ensure(c.given));
    EXPECT_FALSE(CopyOn());
    EXPECT_EQ(Path(), c.after);
  }
  EXPECT_FALSE(std::filesystem::exists(Host("device/missing")));
}

TEST_F(InfectedFolder, EmptyPathFailsAndStaysEmptyRatherThanNamingTheRoot) {
  EXPECT_FALSE(Ensure(u""));
  EXPECT_FALSE(CopyOn());
  EXPECT_EQ(Path(), u"");
}

}  // namespace
}  // namespace scanner
