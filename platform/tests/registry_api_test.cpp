// Win32 semantics of keys and values: create/open, query sizes, delete, rights.
#include <cstring>

#include "platform/Registry.h"
#include "registry_test_support.h"

namespace platform {
namespace {

using testing::Bytes;
using testing::Desktop;
using testing::Device;

class RegistryKeys : public testing::FreshRegistry {};
class RegistryValues : public testing::FreshRegistry {};
class RegistryDelete : public testing::FreshRegistry {};
class RegistryRights : public testing::FreshRegistry {};

TEST_F(RegistryKeys, CreateReportsCreatedThenOpened) {
  HKEY a = nullptr, b = nullptr;
  uint32_t disp = 0;
  ASSERT_EQ(RegCreateKeyEx(Desktop(HKEY_LOCAL_MACHINE), "SOFTWARE\\QuillmarkLab\\Components\\31", 0,
                           "cls", 0, KEY_ALL_ACCESS, nullptr, &a, &disp),
            ERROR_SUCCESS);
  EXPECT_EQ(disp, REG_CREATED_NEW_KEY);
  ASSERT_EQ(RegCreateKeyEx(Desktop(HKEY_LOCAL_MACHINE), "software\\quillmarklab\\components\\31", 0,
                           nullptr, 0, KEY_ALL_ACCESS, nullptr, &b, &disp),
            ERROR_SUCCESS);
  EXPECT_EQ(disp, REG_OPENED_EXISTING_KEY);
  RegCloseKey(a);
  RegCloseKey(b);
}

TEST_F(RegistryKeys, PathsMatchWithoutCaseAndKeepTheirCase) {
  HKEY k = nullptr;
  ASSERT_NE(k = testing::CreateKey(Desktop(HKEY_CURRENT_USER), "Software\\Quillmark Lab\\ZEP PPC"),
            nullptr);
  RegCloseKey(k);
  ASSERT_EQ(RegOpenKeyEx(Desktop(HKEY_CURRENT_USER), "SOFTWARE\\quillmark LAB", 0, KEY_READ, &k),
            ERROR_SUCCESS);
  char name[64];
  uint32_t cch = sizeof name;
  ASSERT_EQ(RegEnumKeyEx(k, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "ZEP PPC");
  EXPECT_EQ(cch, 7u);
  RegCloseKey(k);
  // Non-ASCII letters fold too.
  ASSERT_EQ(
      RegCreateKeyExW(Device(HKEY_CURRENT_USER), u"Ключ", 0, nullptr, 0, 0, nullptr, &k, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(k);
  EXPECT_EQ(RegOpenKeyExW(Device(HKEY_CURRENT_USER), u"КЛЮЧ", 0, 0, &k), ERROR_SUCCESS);
  RegCloseKey(k);
}

TEST_F(RegistryKeys, OpenMissingKeyFailsWithFileNotFoundAndNullHandle) {
  HKEY k = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyEx(Desktop(HKEY_LOCAL_MACHINE), "NoSuch\\Key", 0, KEY_READ, &k),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(k, nullptr);
}

TEST_F(RegistryKeys, ClassStringIsKeptForTheCreatedKeyOnly) {
  HKEY k = nullptr;
  ASSERT_NE(k = testing::CreateKey(Desktop(HKEY_CURRENT_USER),
                                   "Software\\Quillmark Lab\\Security\\Volumes", "REG_BINARY"),
            nullptr);
  char cls[32];
  uint32_t cch = sizeof cls;
  ASSERT_EQ(RegQueryInfoKey(k, cls, &cch, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_STREQ(cls, "REG_BINARY");
  RegCloseKey(k);
  ASSERT_EQ(RegOpenKeyEx(Desktop(HKEY_CURRENT_USER), "Software\\Quillmark Lab", 0, KEY_READ, &k),
            ERROR_SUCCESS);
  cch = sizeof cls;
  ASSERT_EQ(RegQueryInfoKey(k, cls, &cch, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_STREQ(cls, "");
  RegCloseKey(k);
}

TEST_F(RegistryKeys, InvalidAndClosedHandlesAreRefused) {
  uint32_t size = 0;
  EXPECT_EQ(RegQueryValueEx(nullptr, "x", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(
      RegQueryValueEx(reinterpret_cast<HKEY>(0x80000007), "x", nullptr, nullptr, nullptr, &size),
      ERROR_INVALID_HANDLE);
  HKEY k = nullptr;
  ASSERT_NE(k = testing::CreateKey(Desktop(HKEY_CURRENT_USER), "A"), nullptr);
  ASSERT_EQ(RegCloseKey(k), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(k), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, OverlongKeyNameComponentIsRefused) {
  HKEY k = nullptr;
  std::string ok(255, 'k'), tooLong(256, 'k');
  EXPECT_EQ(RegCreateKeyEx(Desktop(HKEY_CURRENT_USER), ok.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                           nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(k);
  EXPECT_EQ(RegCreateKeyEx(Desktop(HKEY_CURRENT_USER), tooLong.c_str(), 0, nullptr, 0,
                           KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(k, nullptr);
}

TEST_F(RegistryKeys, DefaultStoreDecidesWhatPlainRootsName) {
  HKEY k = nullptr;
  SetDefaultRegStore(RegStore::Device);
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "OnDevice", 0, nullptr, 0, 0, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegStore store = RegStore::Desktop;
  ASSERT_TRUE(RegKeyStore(k, &store));
  EXPECT_EQ(store, RegStore::Device);
  RegCloseKey(k);
  SetDefaultRegStore(RegStore::Desktop);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "OnDevice", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyEx(Device(HKEY_CURRENT_USER), "OnDevice", 0, 0, &k), ERROR_SUCCESS);
  RegCloseKey(k);
}

class RegistryValuesWithKey : public RegistryValues {
 protected:
  void SetUp() override {
    RegistryValues::SetUp();
    ASSERT_NE(key_ = testing::CreateKey(Desktop(HKEY_LOCAL_MACHINE), "SOFTWARE\\Test"), nullptr);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegistryValues::TearDown();
  }
  HKEY key_ = nullptr;
};

TEST_F(RegistryValuesWithKey, QueryReportsSizeWithoutBuffer) {
  auto text = Bytes(std::string_view("hello", 6));
  ASSERT_EQ(RegSetValueEx(key_, "Text", 0, REG_SZ, text.data(), 6), ERROR_SUCCESS);
  uint32_t type = 0, size = 0;
  EXPECT_EQ(RegQueryValueEx(key_, "Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 6u);
}

TEST_F(RegistryValuesWithKey, SmallBufferGetsMoreDataAndNothingCopied) {
  auto text = Bytes("0123456789");
  ASSERT_EQ(RegSetValueEx(key_, "Text", 0, REG_SZ, text.data(), 10), ERROR_SUCCESS);
  uint8_t buffer[9];
  std::memset(buffer, 0xAA, sizeof buffer);
  uint32_t size = sizeof buffer;
  EXPECT_EQ(RegQueryValueEx(key_, "Text", nullptr, nullptr, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 10u);
  for (uint8_t b : buffer) EXPECT_EQ(b, 0xAA);
  uint8_t exact[10];
  size = sizeof exact;
  EXPECT_EQ(RegQueryValueEx(key_, "Text", nullptr, nullptr, exact, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 10u);
  EXPECT_EQ(std::memcmp(exact, "0123456789", 10), 0);
}

TEST_F(RegistryValuesWithKey, MissingValueIsFileNotFound) {
  uint32_t size = 4;
  uint8_t buffer[4];
  EXPECT_EQ(RegQueryValueEx(key_, "Nothing", nullptr, nullptr, buffer, &size),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValue(key_, "Nothing"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValuesWithKey, TextIsStoredWithTheByteCountGiven) {
  const char text[] = "C:\\Program Files\\Palm";
  ASSERT_EQ(RegSetValueEx(key_, "Without", 0, REG_SZ, reinterpret_cast<const uint8_t*>(text),
                          sizeof text - 1),
            ERROR_SUCCESS);
  ASSERT_EQ(
      RegSetValueEx(key_, "With", 0, REG_SZ, reinterpret_cast<const uint8_t*>(text), sizeof text),
      ERROR_SUCCESS);
  uint8_t buffer[256];
  uint32_t size = sizeof buffer;
  ASSERT_EQ(RegQueryValueEx(key_, "Without", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, sizeof text - 1);
  size = sizeof buffer;
  ASSERT_EQ(RegQueryValueEx(key_, "With", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, sizeof text);
  EXPECT_EQ(buffer[size - 1], 0);
}

TEST_F(RegistryValuesWithKey, ValueNamesMatchWithoutCaseAndOverwriteInPlace) {
  uint32_t one = 1, two = 2;
  ASSERT_EQ(
      RegSetValueEx(key_, "SyncWaitTime", 0, REG_DWORD, reinterpret_cast<const uint8_t*>(&one), 4),
      ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key_, "Other", 0, REG_DWORD, reinterpret_cast<const uint8_t*>(&one), 4),
            ERROR_SUCCESS);
  ASSERT_EQ(
      RegSetValueEx(key_, "SYNCWAITTIME", 0, REG_DWORD, reinterpret_cast<const uint8_t*>(&two), 4),
      ERROR_SUCCESS);
  uint32_t got = 0, size = 4;
  ASSERT_EQ(RegQueryValueEx(key_, "syncwaittime", nullptr, nullptr,
                            reinterpret_cast<uint8_t*>(&got), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(got, 2u);
  char name[32];
  uint32_t cch = sizeof name;
  ASSERT_EQ(RegEnumValue(key_, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "SyncWaitTime");
}

TEST_F(RegistryValuesWithKey, NullAndEmptyNamesAreTheDefaultValue) {
  auto text = Bytes(std::string_view("d", 2));
  ASSERT_EQ(RegSetValueEx(key_, nullptr, 0, REG_SZ, text.data(), 2), ERROR_SUCCESS);
  uint32_t size = 0;
  EXPECT_EQ(RegQueryValueEx(key_, "", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 2u);
}

TEST_F(RegistryValuesWithKey, EmptyDataAndLimitsAreHandled) {
  ASSERT_EQ(RegSetValueEx(key_, "Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  uint32_t type = 0, size = 99;
  EXPECT_EQ(RegQueryValueEx(key_, "Empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(type, REG_BINARY);
  std::vector<uint8_t> big(kRegMaxValueDataSize + 1);
  EXPECT_EQ(RegSetValueEx(key_, "Big", 0, REG_BINARY, big.data(), uint32_t(big.size())),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueEx(key_, "Big", 0, REG_BINARY, big.data(), uint32_t(big.size() - 1)),
            ERROR_SUCCESS);
  std::string longName(kRegMaxValueNameLength + 1, 'n');
  EXPECT_EQ(RegSetValueEx(key_, longName.c_str(), 0, REG_BINARY, big.data(), 1),
            ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryValuesWithKey, DeletedValueIsGone) {
  uint32_t one = 1;
  ASSERT_EQ(RegSetValueEx(key_, "V", 0, REG_DWORD, reinterpret_cast<const uint8_t*>(&one), 4),
            ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(key_, "v"), ERROR_SUCCESS);
  uint32_t size = 0;
  EXPECT_EQ(RegQueryValueEx(key_, "V", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValues, WideFunctionsUseUtf16Names) {
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyExW(Device(HKEY_CURRENT_USER), u"Software\\Quillmark Lab\\ZEP PPC", 0,
                            nullptr, 0, 0, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  const char16_t report[] = u"/My Documents/ZEPReport.txt";
  ASSERT_EQ(RegSetValueExW(k, u"Report", 0, REG_SZ, reinterpret_cast<const uint8_t*>(report),
                           sizeof report),
            ERROR_SUCCESS);
  char16_t buffer[130];
  uint32_t size = sizeof buffer;
  uint32_t type = 0;
  ASSERT_EQ(
      RegQueryValueExW(k, u"REPORT", nullptr, &type, reinterpret_cast<uint8_t*>(buffer), &size),
      ERROR_SUCCESS);
  EXPECT_EQ(size, sizeof report);
  EXPECT_EQ(std::u16string(buffer), report);
  char16_t name[16];
  uint32_t cch = 16;
  ASSERT_EQ(RegEnumValueW(k, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(name), u"Report");
  EXPECT_EQ(RegDeleteValueW(k, u"report"), ERROR_SUCCESS);
  RegCloseKey(k);
}

TEST_F(RegistryDelete, DeleteKeyRefusesKeysWithSubkeys) {
  HKEY k = nullptr;
  ASSERT_NE(k = testing::CreateKey(Desktop(HKEY_CURRENT_USER), "A\\B\\C"), nullptr);
  RegCloseKey(k);
  EXPECT_EQ(RegDeleteKey(Desktop(HKEY_CURRENT_USER), "A\\B"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKey(Desktop(HKEY_CURRENT_USER), "A\\B\\C"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(Desktop(HKEY_CURRENT_USER), "A\\B"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(Desktop(HKEY_CURRENT_USER), "A\\B"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryDelete, DeleteTreeRemovesEverythingBelow) {
  HKEY k = nullptr;
  ASSERT_NE(k = testing::CreateKey(Desktop(HKEY_CURRENT_USER), "A\\B\\C"), nullptr);
  ASSERT_EQ(RegSetValueEx(k, "v", 0, REG_BINARY, Bytes("x").data(), 1), ERROR_SUCCESS);
  RegCloseKey(k);
  ASSERT_NE(k = testing::CreateKey(Desktop(HKEY_CURRENT_USER), "A2"), nullptr);
  RegCloseKey(k);
  EXPECT_EQ(RegDeleteTree(Desktop(HKEY_CURRENT_USER), "a"), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyEx(Desktop(HKEY_CURRENT_USER), "A", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyEx(Desktop(HKEY_CURRENT_USER), "A2", 0, KEY_READ, &k), ERROR_SUCCESS);
  RegCloseKey(k);
}

TEST_F(RegistryDelete, DeleteTreeWithoutSubKeyEmptiesButKeepsTheKey) {
  HKEY k = nullptr;
  ASSERT_NE(k = testing::CreateKey(Desktop(HKEY_CURRENT_USER), "A\\B"), nullptr);
  RegCloseKey(k);
  ASSERT_EQ(RegOpenKeyEx(Desktop(HKEY_CURRENT_USER), "A", 0, KEY_ALL_ACCESS, &k), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(k, "v", 0, REG_BINARY, Bytes("x").data(), 1), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteTree(k, nullptr), ERROR_SUCCESS);
  uint32_t subKeys = 9, values = 9;
  ASSERT_EQ(RegQueryInfoKey(k, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                            nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 0u);
  EXPECT_EQ(values, 0u);
  RegCloseKey(k);
}

TEST_F(RegistryDelete, RootsCannotBeDeleted) {
  EXPECT_EQ(RegDeleteKey(Desktop(HKEY_LOCAL_MACHINE), ""), ERROR_ACCESS_DENIED);
  HKEY k = nullptr;
  ASSERT_EQ(RegOpenKeyEx(Desktop(HKEY_LOCAL_MACHINE), nullptr, 0, KEY_READ, &k), ERROR_SUCCESS);
  RegCloseKey(k);
}

TEST_F(RegistryDelete, HandleToDeletedKeyReportsKeyDeleted) {
  HKEY k = nullptr, child = nullptr;
  ASSERT_NE(k = testing::CreateKey(Desktop(HKEY_CURRENT_USER), "Gone\\Below"), nullptr);
  ASSERT_EQ(RegDeleteTree(Desktop(HKEY_CURRENT_USER), "Gone"), ERROR_SUCCESS);
  uint32_t size = 0;
  EXPECT_EQ(RegQueryValueEx(k, "x", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_EQ(RegSetValueEx(k, "x", 0, REG_BINARY, Bytes("x").data(), 1), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCreateKeyEx(k, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
            ERROR_KEY_DELETED);
  char name[8];
  uint32_t cch = sizeof name;
  EXPECT_EQ(RegEnumValue(k, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
  cch = sizeof name;
  EXPECT_EQ(RegEnumKeyEx(k, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
  // A key of the same name made afterwards is a different key.
  HKEY again = nullptr;
  ASSERT_NE(again = testing::CreateKey(Desktop(HKEY_CURRENT_USER), "Gone\\Below"), nullptr);
  EXPECT_EQ(RegQueryValueEx(k, "x", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
  RegCloseKey(again);
}

TEST_F(RegistryRights, DesktopChecksRightsAsWindowsDoes) {
  HKEY k = nullptr;
  ASSERT_NE(k = testing::CreateKey(Desktop(HKEY_LOCAL_MACHINE), "R"), nullptr);
  RegCloseKey(k);
  ASSERT_EQ(RegOpenKeyEx(Desktop(HKEY_LOCAL_MACHINE), "R", 0, KEY_READ, &k), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(k, "v", 0, REG_BINARY, Bytes("x").data(), 1), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValue(k, "v"), ERROR_ACCESS_DENIED);
  HKEY sub = nullptr;
  EXPECT_EQ(RegCreateKeyEx(k, "S", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_ACCESS_DENIED);
  RegCloseKey(k);
  ASSERT_EQ(RegOpenKeyEx(Desktop(HKEY_LOCAL_MACHINE), "R", 0, KEY_WRITE, &k), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(k, "v", 0, REG_BINARY, Bytes("x").data(), 1), ERROR_SUCCESS);
  uint32_t size = 0;
  EXPECT_EQ(RegQueryValueEx(k, "v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  RegCloseKey(k);
}

TEST_F(RegistryRights, DeviceIgnoresRightsAsWindowsCeDoes) {
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyEx(Device(HKEY_CURRENT_USER), "R", 0, nullptr, 0, 0, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(k, "v", 0, REG_BINARY, Bytes("x").data(), 1), ERROR_SUCCESS);
  uint32_t size = 0;
  EXPECT_EQ(RegQueryValueEx(k, "v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  RegCloseKey(k);
}

}  // namespace
}  // namespace platform
