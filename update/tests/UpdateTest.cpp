// The private desktop of the downloader tests.
#include "update/tests/UpdateTest.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "palmsettings/SettingsLayout.h"
#include "platform/CaseLookup.h"
#include "platform/RegKey.h"
#include "platform/Registry.h"

namespace update::testing {

namespace {

platform::HKEY Machine() {
  return platform::RegRootKey(platform::RegStore::Desktop, platform::HKEY_LOCAL_MACHINE);
}

}  // namespace

void UpdateTest::SetUp() {
  const char* bin = std::getenv("SUITE_BIN");
  ASSERT_NE(bin, nullptr) << "SUITE_BIN names the build's bin folder";
  bin_ = bin;
  ::setenv("QM_HOME", home_.path().c_str(), 1);
  ::setenv("QM_DESKTOP_REGISTRY", home_.Path("desktop-registry.db").c_str(), 1);
  ::setenv("QM_DRIVE_C", home_.MakeFolder("drive_c").c_str(), 1);
  ::setenv("QM_MODULE_PATH", bin_.c_str(), 1);
  ::setenv("QM_RUVI_LOG", home_.Path("ruvi.log").c_str(), 1);
  ::setenv("QM_RUVI_CONTROL", home_.Path("ruvi.sock").c_str(), 1);
  platform::RegCloseStores();
  platform::ForgetCaseLookups();
}

void UpdateTest::TearDown() {
  platform::RegCloseStores();
  platform::ForgetCaseLookups();
}

void UpdateTest::Configure(const std::vector<std::string>& addresses,
                           const std::vector<std::string>& files) {
  platform::RegKey key;
  ASSERT_EQ(key.Create(Machine(), palmsettings::kComponentKey), 0u);
  for (size_t i = 0; i < addresses.size(); ++i)
    ASSERT_EQ(key.SetString("UpdateUrl" + std::to_string(i + 1), addresses[i]), 0u);
  for (size_t i = 0; i < files.size(); ++i)
    ASSERT_EQ(key.SetString("File" + std::to_string(i + 1), files[i]), 0u);
  ASSERT_EQ(key.SetString(palmsettings::kZeppDirValue, kZeppDir), 0u);
  std::filesystem::create_directories(Host("ZEPP"));
  ASSERT_EQ(record_.Load(), 0);
}

void UpdateTest::SetTasksKey(bool present) {
  platform::RegKey key;
  if (present) {
    ASSERT_EQ(key.Create(Machine(), palmsettings::kTasksKey), 0u);
  } else if (key.Open(Machine(), palmsettings::kComponentKey, platform::RegAccess::All) == 0) {
    key.DeleteSubKey("Tasks");
  }
}

std::optional<uint32_t> UpdateTest::StoredLastUpdate() {
  platform::RegKey key;
  uint32_t value = 0;
  if (key.Open(Machine(), palmsettings::kComponentKey) != 0 ||
      key.QueryDword(palmsettings::kLastUpdateValue, &value) != 0)
    return std::nullopt;
  return value;
}

std::string UpdateTest::Host(std::string_view belowC) const {
  return home_.Path("drive_c/" + std::string(belowC));
}

std::vector<std::string> UpdateTest::RuviLog() const {
  std::ifstream in(home_.Path("ruvi.log"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

size_t UpdateTest::Requested(std::string_view path) const {
  size_t n = 0;
  for (const auto& r : server_.Requests()) n += r.path == path;
  return n;
}

std::string UpdateTest::Body(size_t size, char seed) {
  std::string body(size, '\0');
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + (seed + i * 7) % 26);
  return body;
}

bool UpdateTest::Exists(const std::string& host) {
  return std::filesystem::exists(host);
}

std::string UpdateTest::Read(const std::string& host) {
  std::ifstream in(host, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace update::testing
