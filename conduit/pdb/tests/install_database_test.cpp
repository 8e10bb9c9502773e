// InstallDatabase against the emulated handheld, and the order of its calls to the sync manager.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "conduit/pdb/InstallDatabase.h"
#include "conduit/pdb/PdbImage.h"
#include "conduit/pdb/tests/HotSyncFixture.h"

namespace conduit {
namespace {

using testing::Bytes;
using testing::MakeDatabase;

// RecordingBar: a progress bar that notes every call.
class RecordingBar : public palmsettings::ProgressWindow {
 public:
  void SetRange(int low, int high) override {
    calls.push_back("range " + std::to_string(low) + " " + std::to_string(high));
  }
  void SetStep(int step) override { calls.push_back("step " + std::to_string(step)); }
  void StepIt() override { calls.push_back("stepit"); }
  void SetPos(int position) override { calls.push_back("pos " + std::to_string(position)); }
  void OffsetPos(int delta) override { calls.push_back("offset " + std::to_string(delta)); }
  std::vector<std::string> calls;
};

using Install = testing::HotSyncSession;

TEST_F(Install, WritesEveryRecordWithItsOwnAttributesAfterEmptyingTheDatabase) {
  PutOnHandheld(MakeDatabase("ZEPDB", {"old0", "old1", "old2", "old3"}));
  PdbDatabase update = MakeDatabase("ZEPDB", {"new0", "v1", "v2"}, {0x40, 0x0A, 0xC3});
  update.hasAppInfo = true;
  update.appInfo = Bytes("app!");
  const std::string path = WriteFile("ZEPDB.pdb", update);
  RecordingBar bar;
  ASSERT_EQ(InstallDatabase(link_, path.c_str(), "ZEPDB", &bar), 0);

  const PdbDatabase now = OnHandheld("ZEPDB");
  ASSERT_EQ(now.records.size(), 3u);
  EXPECT_EQ(now.records[0].data, Bytes("new0"));
  EXPECT_EQ(now.records[1].attributes, 0x0A);
  EXPECT_EQ(now.records[2].attributes, 0xC3);
  EXPECT_EQ(now.records[2].data, Bytes("v2"));
  EXPECT_EQ(now.appInfo, Bytes("app!"));
  EXPECT_FALSE(now.hasSortInfo);
  EXPECT_EQ(bar.calls,
            (std::vector<std::string>{"range 0 3", "step 1", "stepit", "stepit", "stepit"}));
  EXPECT_EQ(LogText(), "");
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(Install, AnUnreadableFileIsLoggedAndShownAndTheHandheldUntouched) {
  PutOnHandheld(MakeDatabase("ZEPDB", {"keep"}));
  const std::string missing = home_.Path("nothere.pdb");
  EXPECT_EQ(InstallDatabase(link_, missing.c_str(), "ZEPDB", nullptr), -1);
  EXPECT_EQ(LogText(), "Quillmark QRX for PalmOS - Unable to open PDB file\n");
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, missing);
  EXPECT_EQ(prompt_.last().caption, "Msg");
  EXPECT_EQ(prompt_.last().flags, platform::MB_OK);
  EXPECT_EQ(OnHandheld("ZEPDB").records.size(), 1u);

  // A file with a record too long for the conduit's buffer goes the same way
  // rather than being cut.
  const std::string longRecord =
      WriteFile("long.pdb", MakeDatabase("ZEPDB", {std::string(1500, 'x')}));
  EXPECT_EQ(InstallDatabase(link_, longRecord.c_str(), "ZEPDB", nullptr), -1);
  EXPECT_EQ(OnHandheld("ZEPDB").records[0].data, Bytes("keep"));
}

TEST_F(Install, ADatabaseMissingOnTheHandheldIsNotCreated) {
  const std::string path = WriteFile("ZEPVE.pdb", MakeDatabase("ZEPVE", {"x"}));
  EXPECT_EQ(InstallDatabase(link_, path.c_str(), "ZEPVE", nullptr), -2);
  EXPECT_EQ(LogText(), "Quillmark QRX for PalmOS - Unable to open ZEPDB database on HH\n");
  EXPECT_EQ(OnHandheld("ZEPVE").records.size(), 0u);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(Install, AFailedRecordWriteIsReportedNotPassedAsSuccess) {
  PutOnHandheld(MakeDatabase("ZEPDB", {"old"}));
  const std::string path = WriteFile("ZEPDB.pdb", MakeDatabase("ZEPDB", {"a", "b"}));
  ASSERT_EQ(sync_.FailNext("SyncWriteRec", kSyncErrTooLarge), 0);
  EXPECT_EQ(InstallDatabase(link_, path.c_str(), "ZEPDB", nullptr), -2);
  // The database was closed: it opens again.
  SyncDbHandle db = 0;
  EXPECT_EQ(sync_.OpenDB("ZEPDB", 0, &db, 0xF0), 0);
  sync_.CloseDB(db);
}

// The call sequence, seen through a hand-made function table.
std::vector<std::string> gCalls;
int32_t Open(const char* name, int32_t card, SyncDbHandle* db, uint8_t mode) {
  gCalls.push_back(std::string("open ") + name + " " + std::to_string(card) + " " +
                   std::to_string(mode));
  *db = 7;
  return 0;
}
int32_t Purge(SyncDbHandle db) {
  gCalls.push_back("purge " + std::to_string(db));
  return -1;  // not examined
}
int32_t Reset(SyncDbHandle db) {
  gCalls.push_back("reset " + std::to_string(db));
  return 0;
}
int32_t AppInfo(SyncDbHandle, SyncBlock* block) {
  gCalls.push_back("appinfo " + std::to_string(block->size) + " " +
                   std::string(reinterpret_cast<char*>(block->data), block->size));
  return 0;
}
int32_t SortInfo(SyncDbHandle, SyncBlock* block) {
  gCalls.push_back("sortinfo " + std::to_string(block->size));
  return 0;
}
int32_t Write(SyncRecord* r) {
  gCalls.push_back("write id=" + std::to_string(r->recordId) +
                   " attr=" + std::to_string(r->attributes) + " size=" + std::to_string(r->size) +
                   " " + std::string(reinterpret_cast<char*>(r->buffer), r->size));
  return 0;
}
int32_t Close(SyncDbHandle db) {
  gCalls.push_back("close " + std::to_string(db));
  return 0;
}

TEST_F(Install, CallsTheSyncManagerInItsOrderAndOnlyForBlocksThatExist) {
  sync20::Sync20Library fake;
  fake.OpenDB = Open;
  fake.PurgeAllRecs = Purge;
  fake.ResetRecordIndex = Reset;
  fake.WriteDBAppInfoBlock = AppInfo;
  fake.WriteDBSortInfoBlock = SortInfo;
  fake.WriteRec = Write;
  fake.CloseDB = Close;
  PdbDatabase update = MakeDatabase("Named", {"r1", "r22"}, {1, 2});
  update.hasAppInfo = true;
  update.appInfo = Bytes("AI");
  const std::string path = WriteFile("x.pdb", update);
  gCalls.clear();
  const ConduitLink link{&fake, nullptr, nullptr};
  ASSERT_EQ(InstallDatabase(link, path.c_str(), "Named", nullptr), 0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"open Named 0 240", "purge 7", "reset 7",
                                              "appinfo 2 AI", "write id=0 attr=1 size=2 r1",
                                              "write id=0 attr=2 size=3 r22", "close 7"}));
}

}  // namespace
}  // namespace conduit
