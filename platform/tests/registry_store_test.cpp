// Where the stores live, how they are re-pointed, and damaged or foreign files.
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/RegKey.h"
#include "platform/RegistryStore.h"
#include "registry_test_support.h"

namespace platform {
namespace {

using testing::Desktop;
using testing::Device;

class RegistryStoreLocation : public testing::FreshRegistry {};
class RegistryStoreDamage : public testing::FreshRegistry {
 protected:
  void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  void Sql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
};

TEST_F(RegistryStoreLocation, EachStoreHasItsOwnFileAndFolderIsCreated) {
  RegKey device, desktop;
  ASSERT_EQ(device.Create(Device(HKEY_LOCAL_MACHINE), "Drivers\\ZSecurity"), ERROR_SUCCESS);
  ASSERT_EQ(desktop.Create(Desktop(HKEY_LOCAL_MACHINE), "SOFTWARE"), ERROR_SUCCESS);
  EXPECT_TRUE(std::filesystem::exists(devicePath_));  // its folder did not exist before
  EXPECT_TRUE(std::filesystem::exists(desktopPath_));
  RegKey probe;
  EXPECT_EQ(probe.Open(Desktop(HKEY_LOCAL_MACHINE), "Drivers\\ZSecurity"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(probe.Open(Device(HKEY_LOCAL_MACHINE), "SOFTWARE"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryStoreLocation, DefaultPathsLieBelowHome) {
  unsetenv("QM_DEVICE_REGISTRY");
  unsetenv("QM_DESKTOP_REGISTRY");
  setenv("QM_HOME", (folder_ + "/home").c_str(), 1);
  EXPECT_EQ(RegistryStore::PathOf(RegStore::Device), folder_ + "/home/device-registry.db");
  EXPECT_EQ(RegistryStore::PathOf(RegStore::Desktop), folder_ + "/home/desktop-registry.db");
  RegKey key;
  EXPECT_EQ(key.Create(Desktop(HKEY_CURRENT_USER), "X"), ERROR_SUCCESS);
  EXPECT_TRUE(std::filesystem::exists(folder_ + "/home/desktop-registry.db"));
  key.Close();
  RegCloseStores();
  unsetenv("QM_HOME");
}

TEST_F(RegistryStoreLocation, RepointingTakesEffectAfterCloseStores) {
  RegKey key;
  ASSERT_EQ(key.Create(Desktop(HKEY_CURRENT_USER), "First"), ERROR_SUCCESS);
  std::string other = folder_ + "/other.db";
  setenv("QM_DESKTOP_REGISTRY", other.c_str(), 1);
  RegCloseStores();
  RegKey probe;
  EXPECT_EQ(probe.Open(Desktop(HKEY_CURRENT_USER), "First"), ERROR_FILE_NOT_FOUND);
  // The handle opened before keeps working on its own store.
  EXPECT_EQ(key.SetDword("still", 1), ERROR_SUCCESS);
  EXPECT_TRUE(std::filesystem::exists(other));
}

TEST_F(RegistryStoreDamage, GarbageFileIsReportedCorrupt) {
  WriteFile(desktopPath_, std::string(8192, '\x5A'));
  RegKey key;
  EXPECT_EQ(key.Create(Desktop(HKEY_CURRENT_USER), "X"), ERROR_REGISTRY_CORRUPT);
  EXPECT_EQ(key.Open(Desktop(HKEY_CURRENT_USER), "X"), ERROR_REGISTRY_CORRUPT);
  // The other store is unaffected.
  EXPECT_EQ(key.Create(Device(HKEY_CURRENT_USER), "X"), ERROR_SUCCESS);
}

TEST_F(RegistryStoreDamage, DamagedPagesAreReportedCorruptNotFatal) {
  {
    RegKey key;
    ASSERT_EQ(key.Create(Desktop(HKEY_CURRENT_USER), "Data"), ERROR_SUCCESS);
    std::vector<uint8_t> blob(3000, 7);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(key.SetBinary(std::to_string(i), blob), ERROR_SUCCESS);
  }
  RegCloseStores();
  Sql(desktopPath_, "PRAGMA wal_checkpoint(TRUNCATE)");
  // Overwrite pages in the middle of the file, keeping the header intact.
  {
    std::fstream f(desktopPath_, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(4096 * 3);
    std::string junk(4096 * 20, '\xEE');
    f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  RegKey key;
  uint32_t e = key.Open(Desktop(HKEY_CURRENT_USER), "Data");
  if (e == ERROR_SUCCESS) {
    uint32_t bad = 0;
    for (int i = 0; i < 200; ++i) {
      std::vector<uint8_t> out;
      uint32_t r = key.QueryBinary(std::to_string(i), &out);
      if (r != ERROR_SUCCESS) {
        EXPECT_EQ(r, ERROR_REGISTRY_CORRUPT);
        ++bad;
      }
    }
    std::vector<std::string> names;
    uint32_t r = key.ValueNames(&names);
    EXPECT_TRUE(bad > 0 || r == ERROR_REGISTRY_CORRUPT);
  } else {
    EXPECT_EQ(e, ERROR_REGISTRY_CORRUPT);
  }
}

TEST_F(RegistryStoreDamage, ForeignDatabaseIsNotTakenOver) {
  Sql(desktopPath_, "CREATE TABLE other(x); INSERT INTO other VALUES(1);");
  RegKey key;
  EXPECT_EQ(key.Create(Desktop(HKEY_CURRENT_USER), "X"), ERROR_REGISTRY_CORRUPT);
}

TEST_F(RegistryStoreDamage, NewerLayoutIsUnsupported) {
  {
    RegKey key;
    ASSERT_EQ(key.Create(Desktop(HKEY_CURRENT_USER), "X"), ERROR_SUCCESS);
  }
  RegCloseStores();
  Sql(desktopPath_, "PRAGMA user_version = 2");
  RegKey key;
  EXPECT_EQ(key.Open(Desktop(HKEY_CURRENT_USER), "X"), ERROR_NOT_SUPPORTED);
}

TEST_F(RegistryStoreDamage, UnusablePathGivesThePlatformCode) {
  WriteFile(folder_ + "/file", "x");
  setenv("QM_DESKTOP_REGISTRY", (folder_ + "/file/sub/registry.db").c_str(), 1);
  RegCloseStores();
  RegKey key;
  uint32_t e = key.Create(Desktop(HKEY_CURRENT_USER), "X");
  EXPECT_NE(e, ERROR_SUCCESS);
  EXPECT_NE(e, ERROR_REGISTRY_CORRUPT);
}

}  // namespace
}  // namespace platform
