// The scanner's start-up in its order, its messages, and the program's end.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <future>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/Power.h"
#include "platform/RegKey.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"
#include "platform/tests/TempDevice.h"
#include "scanner/scanrun/ScanRun.h"
#include "scanner/settings/Settings.h"
#include "scanner/settings/tests/SettingsKey.h"
#include "scanner/startup/ScannerApp.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/virusbase/tests/TestBase.h"

namespace scanner {
namespace {

using platform::RegKey;
using testing::BaseBytes;

constexpr char kInstall[] = "device/Program Files/ZEP PPC";
constexpr char kAlphaSignature[] = "ALPHA-VIRUS-BODY-1";

// FakeFrontEnd: a window that only records what it was asked.
class FakeFrontEnd : public ScannerFrontEnd {
 public:
  bool CreateMainWindow(std::u16string_view title) override {
    created.emplace_back(title);
    return canCreate;
  }
  void SetTitle(std::u16string_view title) override { titles.emplace_back(title); }

  bool canCreate = true;
  std::vector<std::u16string> created;
  std::vector<std::u16string> titles;
};

std::vector<uint8_t> TwoVirusBase() {
  return BaseBytes(2).Record(u"Alpha", kAlphaSignature).Record(u"Beta", "BETA-BODY-22").Signed();
}

std::vector<uint8_t> Utf16z(std::u16string_view text) {
  return testing::Utf16Bytes(text);
}

class StartupTest : public platform::TempDevice {
 protected:
  void SetUp() override {
    TempDevice::SetUp();
    ::setenv("QM_DEVICE_REGISTRY", Host("device-registry.db").c_str(), 1);
    ::setenv("QM_OBJECT_STORE", Host("objectstore.db").c_str(), 1);
    // No language module unless a test asks for one.
    ::setenv("QM_MODULE_PATH", MakeFolder("no-modules").c_str(), 1);
  }
  void TearDown() override {
    ScannerStrings().UnloadLanguage();
    ::unsetenv("QM_MODULE_PATH");
    ::unsetenv("QM_OBJECT_STORE");
    ::unsetenv("QM_DEVICE_REGISTRY");
    TempDevice::TearDown();
  }

  static RegKey Key() { return testing::SettingsKey(); }
  static void Store(const char16_t* name, std::u16string_view text) {
    ASSERT_EQ(Key().SetString(name, text), 0u);
  }
  static platform::RegValue Stored(const char16_t* name) {
    platform::RegValue value;
    EXPECT_EQ(Key().QueryValue(name, &value), 0u);
    return value;
  }

  // PutBase: a base file in a folder below the home ("device/x").
  void PutBase(std::string_view folder, const std::vector<uint8_t>& bytes) {
    folder_.Write(std::string(folder) + "/ZEPBase.zvb", bytes);
  }

  StartResult Start(ScannerApp& app) { return InitInstance(app, front_, prompt_); }

  platform::ScriptedPrompt prompt_;
  FakeFrontEnd front_;
};

using Startup = StartupTest;

TEST_F(Startup, FirstStartWithoutKeyUsesDefaultsAndSavesAllSixValuesAtExit) {
  PutBase(kInstall, TwoVirusBase());
  ScannerApp app;
  ASSERT_EQ(Start(app), StartResult::kStarted);
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_FALSE(app.languageLoaded);
  EXPECT_TRUE(app.settingsLoaded);
  EXPECT_EQ(front_.created, std::vector<std::u16string>{u"Quillmark AV"});
  EXPECT_EQ(front_.titles, std::vector<std::u16string>{u"Quillmark AV - 2 viruses"});

  const Scanner& s = app.scanner;
  EXPECT_EQ(s.flags, 0x23E1u);
  EXPECT_EQ(platform::FieldText(s.reportPath), u"/My Documents/ZEPReport.txt");
  EXPECT_EQ(platform::FieldText(s.infectedPath), u"\\program files\\zep ppc\\infected\\");
  EXPECT_EQ(platform::FieldText(s.szBasePath), u"\\program files\\zep ppc\\");
  EXPECT_EQ(app.basePath, u"\\program files\\zep ppc\\ZEPBase.zvb");
  EXPECT_TRUE(std::filesystem::is_directory(Host(std::string(kInstall) + "/infected")));
  EXPECT_EQ(app.checkResult, 0);
  EXPECT_EQ(app.loadResult, 0);
  EXPECT_EQ(app.base.virusCount, 2);
  EXPECT_EQ(s.base, &app.base);
  EXPECT_EQ(s.prompt, &prompt_);

  std::vector<std::string> names;
  ASSERT_EQ(Key().ValueNames(&names), 0u);
  EXPECT_TRUE(names.empty()) << "start-up writes nothing";

  EXPECT_EQ(ExitInstance(app), 1);
  ASSERT_EQ(Key().ValueNames(&names), 0u);
  EXPECT_EQ(names,
            (std::vector<std::string>{"Flags", "Report", "Infected", "Bases", "Mask", "Exclude"}));
  const platform::RegValue flags = Stored(kFlagsValue);
  EXPECT_EQ(flags.type, platform::REG_DWORD);
  EXPECT_EQ(flags.data, (std::vector<uint8_t>{0xE1, 0x23, 0, 0}));
  const platform::RegValue infected = Stored(kInfectedValue);
  EXPECT_EQ(infected.type, platform::REG_SZ);
  EXPECT_EQ(infected.data, Utf16z(u"\\program files\\zep ppc\\infected\\"));
  EXPECT_EQ(Stored(kReportValue).data, Utf16z(u"/My Documents/ZEPReport.txt"));
  EXPECT_EQ(Stored(kBasesValue).data, Utf16z(u"\\program files\\zep ppc\\"));
  EXPECT_EQ(Stored(kMaskValue).data, Utf16z(u""));
  EXPECT_EQ(Stored(kExcludeValue).type, platform::REG_SZ);
}

TEST_F(Startup, StoredBasesFolderIsFoundWhateverItsCase) {
  PutBase("device/My Bases", TwoVirusBase());
  Store(kBasesValue, u"\\MY BASES\\");
  ScannerApp app;
  ASSERT_EQ(Start(app), StartResult::kStarted);
  EXPECT_EQ(app.basePath, u"\\my bases\\ZEPBase.zvb");
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(Startup, BaseThatCannotBeOpenedShowsTheDiagnosticBoxAndEnds) {
  MakeFolder("device/Empty");
  Put("device/Zero/ZEPBase.zvb", "");
  struct Case {
    std::u16string bases;
    int code;
    std::string text;
  };
  const std::vector<Case> cases = {
      {u"\\Empty\\", 2, "CheckSignature returned 2\nScanner.szBasePath == \\empty\\"},
      {u"\\Missing\\", 3, "CheckSignature returned 3\nScanner.szBasePath == \\missing\\"},
      {u"\\Zero\\", 1006, "CheckSignature returned 1006\nScanner.szBasePath == \\zero\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Store(kBasesValue, c.bases);
    prompt_.Clear();
    ScannerApp app;
    EXPECT_EQ(Start(app), StartResult::kBaseUnreadable);
    EXPECT_EQ(app.checkResult, c.code);
    ASSERT_EQ(prompt_.count(), 1u);
    const platform::ShownMessage box = prompt_.last();
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, "CZEPScannerApp::InitInstance()");
    EXPECT_EQ(box.icon, platform::MB_ICONERROR);
    EXPECT_EQ(box.buttons, platform::MB_OK);
    EXPECT_TRUE(front_.titles.empty());
    EXPECT_EQ(ExitInstance(app), 1);
  }
  // It ended before the Infected folder was seen to.
  EXPECT_FALSE(std::filesystem::exists(Host(std::string(kInstall) + "/infected")));
}

TEST_F(Startup, BaseWithoutRecordsEndsSilentlyAfterItsSignatureIsChecked) {
  PutBase(kInstall, BaseBytes(0).Signed());
  ScannerApp app;
  EXPECT_EQ(Start(app), StartResult::kNoVirusKnown);
  EXPECT_EQ(app.checkResult, 0);
  EXPECT_EQ(app.loadResult, 0);
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_TRUE(front_.titles.empty());
  EXPECT_TRUE(std::filesystem::is_directory(Host(std::string(kInstall) + "/infected")));
}

TEST_F(Startup, CorruptedSignatureShowsMessage91AndEnds) {
  std::vector<uint8_t> bytes = TwoVirusBase();
  bytes[60] ^= 0x01;
  PutBase(kInstall, bytes);
  ScannerApp app;
  EXPECT_EQ(Start(app), StartResult::kBaseCorrupted);
  EXPECT_LT(app.checkResult, 0);
  ASSERT_EQ(prompt_.count(), 1u);
  const platform::ShownMessage box = prompt_.last();
  EXPECT_EQ(box.text, "Anti-virus database file is corrupted!");
  EXPECT_EQ(box.caption, "Quillmark Anti-Virus");
  EXPECT_EQ(box.flags, platform::MB_ICONERROR | platform::MB_OK);
  EXPECT_EQ(app.base.head, nullptr);
  EXPECT_FALSE(std::filesystem::exists(Host(std::string(kInstall) + "/infected")));
}

TEST_F(Startup, UnknownFormatMarkShowsMessage92AndEndsWithoutViruses) {
  PutBase(kInstall, BaseBytes(1, 0x12345678).Record(u"Alpha", kAlphaSignature).Signed());
  ScannerApp app;
  EXPECT_EQ(Start(app), StartResult::kNoVirusKnown);
  EXPECT_EQ(app.checkResult, 0);
  EXPECT_EQ(app.loadResult, -1);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Anti-virus database not found");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus");
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONERROR);
}

TEST_F(Startup, ImpossibleInfectedFolderSwitchesCopyOffAndItIsSavedAtExit) {
  PutBase(kInstall, TwoVirusBase());
  Put("device/notes.txt", "a file");
  ASSERT_EQ(Key().SetDword(kFlagsValue, kDefaultScanFlags | kCopyToInfected), 0u);
  Store(kInfectedValue, u"\\notes.txt\\Infected\\");
  ScannerApp app;
  ASSERT_EQ(Start(app), StartResult::kStarted);
  EXPECT_FALSE(app.languageLoaded);
  ASSERT_EQ(prompt_.count(), 1u);
  const platform::ShownMessage box = prompt_.last();
  EXPECT_EQ(box.text, "Path to \"Infected\" forlder is invalid.\nEnter another path.");
  EXPECT_EQ(box.caption, "Quillmark Anti-Virus");
  EXPECT_EQ(box.flags, platform::MB_ICONERROR | platform::MB_OK);
  EXPECT_EQ(app.scanner.flags & kCopyToInfected, 0u);
  EXPECT_EQ(front_.titles, std::vector<std::u16string>{u"Quillmark AV - 2 viruses"});

  EXPECT_EQ(ExitInstance(app), 1);
  EXPECT_EQ(Stored(kFlagsValue).data, (std::vector<uint8_t>{0xE1, 0x23, 0, 0}));
  EXPECT_EQ(Stored(kInfectedValue).data, Utf16z(u"\\notes.txt\\infected\\"));
}

TEST_F(Startup, LanguageModuleSuppliesTheTextsUntilExit) {
  ::setenv("QM_MODULE_PATH", SCANNER_TEST_MODULES, 1);
  PutBase(kInstall, TwoVirusBase());
  Store(kInfectedValue, u"\\missing\\infected\\");
  ScannerApp app;
  ASSERT_EQ(Start(app), StartResult::kStarted);
  EXPECT_TRUE(app.languageLoaded);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Der Pfad zum Ordner \"Infected\" ist ungültig.");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Virenschutz");

  ExitInstance(app);
  EXPECT_FALSE(app.languageLoaded);
  EXPECT_FALSE(ScannerStrings().languageLoaded());
  EXPECT_EQ(ScannerText(kMsgCaption), u"Quillmark Anti-Virus");
}

TEST_F(Startup, NoWindowEndsBeforeTheBaseIsLookedFor) {
  front_.canCreate = false;
  ScannerApp app;
  EXPECT_EQ(Start(app), StartResult::kNoWindow);
  EXPECT_TRUE(app.settingsLoaded);
  EXPECT_TRUE(app.basePath.empty());
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_EQ(ExitInstance(app), 1);
}

// HoldingDialog: keeps the worker inside its run, at the first detection,
// until a stop is requested.
class HoldingDialog : public DetectionDialog {
 public:
  explicit HoldingDialog(const Scanner& scanner) : scanner_(scanner) {}
  bool Show(std::u16string_view, std::u16string_view, std::u16string_view, std::u16string_view,
            std::u16string_view, bool&, bool&) override {
    if (!announced_) {
      announced_ = true;
      shown.set_value();
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!scanner_.stopRequested && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return false;
  }
  std::promise<void> shown;

 private:
  const Scanner& scanner_;
  bool announced_ = false;
};

TEST_F(Startup, ExitStopsARunningScanBeforeSaving) {
  platform::FixedPowerSource power(100);
  platform::ScopedPowerSource use(power);
  PutBase(kInstall, TwoVirusBase());
  Put("device/evil.bin", std::string("head ") + kAlphaSignature + " tail");
  ScannerApp app;
  ASSERT_EQ(Start(app), StartResult::kStarted);
  HoldingDialog dialog(app.scanner);
  app.scanner.detectionDialog = &dialog;
  app.scanner.pauseWaitMs = 20;
  std::future<void> shown = dialog.shown.get_future();
  ASSERT_EQ(StartScan(app.scanner), 0);
  ASSERT_EQ(shown.wait_for(std::chrono::seconds(30)), std::future_status::ready);

  EXPECT_EQ(ExitInstance(app), 1);
  EXPECT_EQ(app.scanner.state, kIdle);
  EXPECT_FALSE(app.scanner.workerThread.joinable());
  EXPECT_EQ(app.scanner.virusesFound, 1);
}

}  // namespace
}  // namespace scanner
