// ZEPPalm.so through dlopen, as the HotSync manager calls it: the exports' results, the settings
// dialog's answer without a display, and a synchronisation that starts the downloader.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "conduit/sync/ConduitLogLines.h"
#include "conduit/tests/SyncTest.h"
#include "outside/hotsync/ConduitApi.h"
#include "platform/Module.h"

namespace conduit::testing {
namespace {

void Progress(const char*) {}

class ConduitModuleTest : public SyncTest {
 protected:
  void SetUp() override {
    SyncTest::SetUp();
    const char* bin = std::getenv("SUITE_BIN");
    ASSERT_NE(bin, nullptr);
    ::setenv("QM_CONDUIT_HEADLESS", "1", 1);
    ::setenv("QM_MODULE_PATH", bin, 1);
    ASSERT_EQ(module_.Load("ZEPPalm.dll", {bin}), 0u);
    open_ = module_.Function<OpenConduitFn>("OpenConduit");
    name_ = module_.Function<GetConduitNameFn>("GetConduitName");
    version_ = module_.Function<GetConduitVersionFn>("GetConduitVersion");
    info_ = module_.Function<GetConduitInfoFn>("GetConduitInfo");
    cfg_ = module_.Function<CfgConduitFn>("CfgConduit");
    ASSERT_TRUE(open_ && name_ && version_ && info_ && cfg_);
  }
  void TearDown() override {
    module_.Unload();
    ::unsetenv("QM_CONDUIT_HEADLESS");
    ::unsetenv("QM_MODULE_PATH");
    SyncTest::TearDown();
  }

  int32_t Open(int32_t syncType) {
    ConduitSyncProperties properties{};
    properties.syncType = syncType;
    std::strcpy(properties.userName, "Ann");
    return open_(Progress, &properties);
  }

  // WaitForStart: the stand-in's record of its start in C:\ZEPP, once it
  // appears (up to 30 s on a loaded machine); empty when it never does.
  std::string WaitForStart() const {
    const std::string record = Host("ZEPP/started.txt");
    for (int i = 0; i < 3000 && !Exists(record); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return platform::testing::TempFolder::Read(record);
  }

  platform::Module module_;
  OpenConduitFn open_ = nullptr;
  GetConduitNameFn name_ = nullptr;
  GetConduitVersionFn version_ = nullptr;
  GetConduitInfoFn info_ = nullptr;
  CfgConduitFn cfg_ = nullptr;
};

TEST_F(ConduitModuleTest, NameAndVersion) {
  EXPECT_EQ(version_(), 258u);
  char name[64] = {};
  EXPECT_EQ(name_(name, sizeof name), 0);
  EXPECT_STREQ(name, "Quillmark Anti-Virus for PalmOS");
  // Only the low 16 bits of the size count: 0x10000 is a size of 0.
  EXPECT_EQ(name_(name, 0x10000), -1);
  EXPECT_EQ(name_(nullptr, 64), -1);
}

TEST_F(ConduitModuleTest, GetConduitInfoResultsInTheirOrder) {
  char out[64] = {};
  uint32_t size = sizeof out;
  ConduitInfoRequest request{1, 80, {}};
  EXPECT_EQ(info_(99, &request, nullptr, &size), 4209);
  EXPECT_EQ(info_(99, &request, out, nullptr), 4215);
  EXPECT_EQ(info_(99, &request, out, &size), 4208);

  EXPECT_EQ(info_(0, nullptr, out, &size), 4212);
  ConduitInfoRequest wrong{1, 79, {}};
  EXPECT_EQ(info_(0, &wrong, out, &size), 4213);
  uint32_t none = 0;
  EXPECT_EQ(info_(0, &request, out, &none), 4214);
  EXPECT_EQ(info_(0, &request, out, &size), 0);
  EXPECT_STREQ(out, "Quillmark Anti-Virus for PalmOS");

  uint32_t value = 7;
  uint32_t three = 3, four = 4;
  EXPECT_EQ(info_(1, nullptr, &value, &three), 4211);
  EXPECT_EQ(info_(1, nullptr, &value, &four), 0);
  EXPECT_EQ(value, 0x10000000u);
  EXPECT_EQ(info_(2, nullptr, &value, &three), 4211);
  EXPECT_EQ(info_(2, nullptr, &value, &four), 0);
  EXPECT_EQ(value, 0u);
}

TEST_F(ConduitModuleTest, CfgConduitResultsInTheirOrderAndTheDialogsDefault) {
  ConduitCfgRecord record{};
  record.version = 1;
  std::strcpy(record.userName, "Ann");
  record.defaultSyncType = 6;
  record.nextSyncType = 0;
  uint32_t size = sizeof record;
  uint32_t shortSize = sizeof record - 1;
  EXPECT_EQ(cfg_(0, nullptr, &size), 4212);
  EXPECT_EQ(cfg_(0, &record, nullptr), 4216);
  EXPECT_EQ(cfg_(1, &record, &shortSize), 4218);
  EXPECT_EQ(cfg_(1, &record, &size), 4217);
  record.version = 2;
  EXPECT_EQ(cfg_(0, &record, &size), 4219);
  EXPECT_EQ(record.chosenSyncType, 0);
  record.version = 1;
  // Headless, the dialog closes with OK as it opened: "update" for the next
  // synchronisation only.
  EXPECT_EQ(cfg_(0, &record, &size), 0);
  EXPECT_EQ(record.chosenSyncType, 3);
  EXPECT_EQ(record.defaultFlag, 2);
}

TEST_F(ConduitModuleTest, OpenConduitRefusesANullCallbackAndDoesNothingForSyncTypeSix) {
  ConduitSyncProperties properties{};
  EXPECT_EQ(open_(nullptr, &properties), -1);
  EXPECT_EQ(open_(Progress, nullptr), -1);
  EXPECT_EQ(Open(6), 0);
  EXPECT_EQ(LogLines(), std::vector<std::string>{kLogDoNothing});
}

TEST_F(ConduitModuleTest, ADueUpdateStartsTheDownloaderFromZeppDirWithoutArguments) {
  Configure({.lastUpdate = 0});
  std::filesystem::copy_file(CONDUIT_TEST_UPDATE, Host("ZEPP/Update"));
  EXPECT_EQ(Open(0), 0);
  EXPECT_EQ(WaitForStart(), "arguments=0\nfolder=" + Host("ZEPP") + "\n");
  EXPECT_EQ(LogLines(), std::vector<std::string>{kLogOk});
}

}  // namespace
}  // namespace conduit::testing
