// The Setdesk test fixture: the anti-virus directory, its language library and downloader stand-in.
#include "configapp/tests/SetdeskTest.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace configapp::testing {

void SetdeskTest::SetUp() {
  SettingsTest::SetUp();
  home_.MakeFolder("drive_c/ZEPP");
}

void SetdeskTest::InstallLanguage() const {
  std::filesystem::copy_file(CONFIGAPP_TEST_LANGUAGE, Host("ZEPP/Dodo_voz.so"));
}

void SetdeskTest::InstallUpdate() const {
  std::filesystem::copy_file(CONFIGAPP_TEST_UPDATE, Host("ZEPP/Update"));
}

std::string SetdeskTest::WaitForStart() const {
  const std::string record = Host("ZEPP/started.txt");
  for (int i = 0; i < 3000 && !Exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return platform::testing::TempFolder::Read(record);
}

int64_t SetdeskTest::Setting(const std::string& name) {
  platform::RegKey key;
  uint32_t value = 0;
  if (key.Open(Root(platform::HKEY_LOCAL_MACHINE), palmsettings::kComponentKey) != 0 ||
      key.QueryDword(name, &value) != 0)
    return -1;
  return value;
}

}  // namespace configapp::testing
