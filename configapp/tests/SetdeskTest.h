// Test fixture: a fresh desktop registry and drive C, the anti-virus directory C:\ZEPP, and a
// scripted prompt.
#pragma once

#include <string>

#include "palmsettings/tests/SettingsTest.h"
#include "platform/ScriptedPrompt.h"

namespace configapp::testing {

// kZeppDir: the anti-virus directory the tests store and install into.
inline constexpr char kZeppDir[] = "C:\\ZEPP";

class SetdeskTest : public palmsettings::testing::SettingsTest {
 protected:
  void SetUp() override;

  // InstallLanguage: the test language library as C:\ZEPP\Dodo_voz.dll.
  void InstallLanguage() const;
  // InstallUpdate: the recording stand-in as the downloader C:\ZEPP\Update.exe.
  void InstallUpdate() const;
  // WaitForStart: the stand-in's record of its start in C:\ZEPP, once it
  // appears (up to 30 s on a loaded machine); empty when it never does.
  std::string WaitForStart() const;

  // Setting: a DWORD of the component key as stored; -1 when missing.
  static int64_t Setting(const std::string& name);

  platform::ScriptedPrompt prompt_;
};

}  // namespace configapp::testing
