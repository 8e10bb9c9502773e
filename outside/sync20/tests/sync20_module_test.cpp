// The sync manager and log libraries through their loaded modules: sessions, databases, records,
// log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "conduit/pdb/PdbDatabase.h"
#include "outside/hslog20/HsLog20Library.h"
#include "outside/sync20/Handheld.h"
#include "outside/sync20/Sync20Library.h"
#include "platform/testing/TempFolder.h"

namespace {

using platform::testing::TempFolder;

std::string Bin() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin ? bin : ".";
}

class SyncManager : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("QM_HOME", home_.path().c_str(), 1);
    ::setenv("QM_HANDHELD", home_.Path("handheld").c_str(), 1);
    ::setenv("QM_HOTSYNC_LOG", home_.Path("hotsync.log").c_str(), 1);
    ::unsetenv("QM_HOTSYNC_USER");
    ASSERT_EQ(sync_.Load({Bin()}), 0u);
  }
  void TearDown() override {
    if (sync_.EndSession) sync_.EndSession();
  }

  // Connect: a session for "Ann" with one registered conduit.
  void Connect() {
    ASSERT_EQ(sync_.BeginSession("Ann"), kSyncOk);
    ASSERT_EQ(sync_.RegisterConduit(&conduit_), kSyncOk);
  }

  // Put: a database straight onto Ann's handheld.
  void Put(const conduit::PdbDatabase& db) {
    ASSERT_EQ(sync20::StoreDatabase(sync20::DatabasePath("Ann", db.Name()), db), 0);
  }

  conduit::PdbDatabase Stored(std::string_view name) {
    conduit::PdbDatabase db;
    EXPECT_EQ(sync20::LoadDatabase(sync20::DatabasePath("Ann", name), db), 0);
    return db;
  }

  static conduit::PdbDatabase Database(std::string_view name,
                                       std::vector<std::pair<uint8_t, std::string>> records) {
    conduit::PdbDatabase db;
    db.SetName(name);
    uint32_t id = 0x100;
    for (const auto& [attributes, bytes] : records)
      db.records.push_back({attributes, id++, {bytes.begin(), bytes.end()}});
    return db;
  }

  int32_t ReadAt(SyncDbHandle db, uint16_t index, SyncRecord& record, uint8_t* buffer,
                 uint16_t size) {
    record = SyncRecord{};
    record.db = db;
    record.index = index;
    record.bufferSize = size;
    record.buffer = buffer;
    return sync_.ReadRecordByIndex(&record);
  }

  TempFolder home_{"qm-sync20"};
  sync20::Sync20Library sync_;
  SyncConduitHandle conduit_ = 0;
};

TEST_F(SyncManager, RegistrationNeedsASessionUserAndAKnownHandle) {
  SyncConduitHandle handle = 0;
  EXPECT_EQ(sync_.RegisterConduit(&handle), kSyncErrNotConnected);
  EXPECT_EQ(sync_.RegisterConduit(nullptr), kSyncErrBadArgument);
  // The user may also come from the environment, as when a conduit is
  // driven without the manager.
  ::setenv("QM_HOTSYNC_USER", "Env User", 1);
  ASSERT_EQ(sync_.RegisterConduit(&handle), kSyncOk);
  EXPECT_NE(handle, 0u);
  SyncUserIdentity identity{};
  ASSERT_EQ(sync_.ReadUserID(&identity), kSyncOk);
  EXPECT_STREQ(identity.userName, "Env User");
  EXPECT_EQ(sync_.UnRegisterConduit(handle), kSyncOk);
  EXPECT_EQ(sync_.UnRegisterConduit(handle), kSyncErrNotRegistered);
  EXPECT_EQ(sync_.ReadUserID(&identity), kSyncErrNotRegistered);

  ASSERT_EQ(sync_.BeginSession("Ann"), kSyncOk);
  ASSERT_EQ(sync_.RegisterConduit(&handle), kSyncOk);
  ASSERT_EQ(sync_.ReadUserID(&identity), kSyncOk);
  EXPECT_STREQ(identity.userName, "Ann");
  EXPECT_EQ(sync_.BeginSession(""), kSyncErrBadArgument);
  EXPECT_EQ(sync_.BeginSession(std::string(64, 'x').c_str()), kSyncErrBadArgument);
}

TEST_F(SyncManager, OpenFindsOnlyAnExistingDatabaseByItsExactName) {
  Connect();
  Put(Database("ZEPDB", {{0, "r0"}}));
  SyncDbHandle db = 0;
  EXPECT_EQ(sync_.OpenDB("zepdb", 0, &db, 0xF0), kSyncErrNotFound);
  EXPECT_EQ(sync_.OpenDB("Missing", 0, &db, 0xF0), kSyncErrNotFound);
  EXPECT_EQ(sync20::ListDatabases("Ann"), std::vector<std::string>{"ZEPDB"});
  EXPECT_EQ(sync_.OpenDB("ZEPDB", 1, &db, 0xF0), kSyncErrBadArgument);
  EXPECT_EQ(sync_.OpenDB(std::string(32, 'n').c_str(), 0, &db, 0xF0), kSyncErrBadArgument);
  ASSERT_EQ(sync_.OpenDB("ZEPDB", 0, &db, 0xF0), kSyncOk);
  SyncDbHandle again = 0;
  EXPECT_EQ(sync_.OpenDB("ZEPDB", 0, &again, 0xF0), kSyncErrInUse);
  EXPECT_EQ(sync_.CloseDB(db), kSyncOk);
  EXPECT_EQ(sync_.CloseDB(db), kSyncErrBadHandle);
}

TEST_F(SyncManager, RecordsReadBackWithTheirIdsAttributesAndWholeLength) {
  Connect();
  Put(Database("Memo", {{0x40, "first"}, {0x05, std::string(1500, 'x')}}));
  SyncDbHandle db = 0;
  ASSERT_EQ(sync_.OpenDB("Memo", 0, &db, 0x80), kSyncOk);
  uint16_t count = 0;
  ASSERT_EQ(sync_.GetDBRecordCount(db, &count), kSyncOk);
  EXPECT_EQ(count, 2);

  uint8_t buffer[1024] = {};
  SyncRecord record;
  ASSERT_EQ(ReadAt(db, 0, record, buffer, sizeof buffer), kSyncOk);
  EXPECT_EQ(uint32_t{record.recordId}, 0x100u);
  EXPECT_EQ(record.attributes, 0x40);
  EXPECT_EQ(uint32_t{record.size}, 5u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 5), "first");
  // A record longer than the buffer fills it and tells its whole length.
  std::memset(buffer, 0, sizeof buffer);
  ASSERT_EQ(ReadAt(db, 1, record, buffer, 1000), kSyncOk);
  EXPECT_EQ(uint32_t{record.size}, 1500u);
  EXPECT_EQ(buffer[999], 'x');
  EXPECT_EQ(buffer[1000], 0);
  EXPECT_EQ(ReadAt(db, 2, record, buffer, sizeof buffer), kSyncErrNoSuchRecord);

  // Opened for reading only: nothing may change.
  EXPECT_EQ(sync_.PurgeAllRecs(db), kSyncErrReadOnly);
  ASSERT_EQ(sync_.CloseDB(db), kSyncOk);
}

TEST_F(SyncManager, PurgeAndRefillReachTheFileWhenTheDatabaseCloses) {
  Connect();
  conduit::PdbDatabase old = Database("ZEPDB", {{0, "old0"}, {0, "old1"}, {0, "old2"}});
  old.hasAppInfo = true;
  old.appInfo = {9, 9};
  Put(old);
  const std::string path = sync20::DatabasePath("Ann", "ZEPDB");
  const std::string before = TempFolder::Read(path);

  SyncDbHandle db = 0;
  ASSERT_EQ(sync_.OpenDB("ZEPDB", 0, &db, 0xF0), kSyncOk);
  ASSERT_EQ(sync_.PurgeAllRecs(db), kSyncOk);
  ASSERT_EQ(sync_.ResetRecordIndex(db), kSyncOk);
  uint8_t app[3] = {1, 2, 3};
  SyncBlock block{};
  block.size = sizeof app;
  block.data = app;
  ASSERT_EQ(sync_.WriteDBAppInfoBlock(db, &block), kSyncOk);
  uint8_t sort[1] = {7};
  block.size = 1;
  block.data = sort;
  ASSERT_EQ(sync_.WriteDBSortInfoBlock(db, &block), kSyncOk);
  uint8_t bytes[4] = {'n', 'e', 'w', '!'};
  SyncRecord record{};
  record.db = db;
  record.attributes = 0x60;
  record.size = sizeof bytes;
  record.buffer = bytes;
  ASSERT_EQ(sync_.WriteRec(&record), kSyncOk);
  // The emptied database hands out ids from 1 again.
  EXPECT_EQ(uint32_t{record.recordId}, 1u);
  // Nothing reaches the file until the database closes.
  EXPECT_EQ(TempFolder::Read(path), before);
  ASSERT_EQ(sync_.CloseDB(db), kSyncOk);

  const conduit::PdbDatabase now = Stored("ZEPDB");
  ASSERT_EQ(now.records.size(), 1u);
  EXPECT_EQ(now.records[0].attributes, 0x60);
  EXPECT_EQ(std::string(now.records[0].data.begin(), now.records[0].data.end()), "new!");
  EXPECT_EQ(now.appInfo, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_TRUE(now.hasSortInfo);
  EXPECT_EQ(now.sortInfo, std::vector<uint8_t>{7});
}

TEST_F(SyncManager, WritingWithAnIdReplacesThatRecordAndNewIdsDoNotCollide) {
  Connect();
  Put(Database("Memo", {{0, "a"}, {0, "b"}}));
  SyncDbHandle db = 0;
  ASSERT_EQ(sync_.OpenDB("Memo", 0, &db, 0xF0), kSyncOk);
  uint8_t bytes[2] = {'z', 'z'};
  SyncRecord record{};
  record.db = db;
  record.recordId = 0x101;
  record.size = 2;
  record.buffer = bytes;
  ASSERT_EQ(sync_.WriteRec(&record), kSyncOk);
  record.recordId = 0;
  ASSERT_EQ(sync_.WriteRec(&record), kSyncOk);
  EXPECT_EQ(uint32_t{record.recordId}, 0x102u);
  record.size = kSyncMaxRecordSize + 1;
  EXPECT_EQ(sync_.WriteRec(&record), kSyncErrTooLarge);
  ASSERT_EQ(sync_.CloseDB(db), kSyncOk);
  const conduit::PdbDatabase now = Stored("Memo");
  ASSERT_EQ(now.records.size(), 3u);
  EXPECT_EQ(now.records[1].data, (std::vector<uint8_t>{'z', 'z'}));
  EXPECT_EQ(now.records[2].uniqueId, 0x102u);
}

TEST_F(SyncManager, AFailedCloseKeepsTheOldFileAndSaysSo) {
  Connect();
  Put(Database("Memo", {{0, "keep"}}));
  const std::string path = sync20::DatabasePath("Ann", "Memo");
  const std::string before = TempFolder::Read(path);
  SyncDbHandle db = 0;
  ASSERT_EQ(sync_.OpenDB("Memo", 0, &db, 0xF0), kSyncOk);
  ASSERT_EQ(sync_.PurgeAllRecs(db), kSyncOk);
  home_.MakeFolder("handheld/Ann/.Memo.pdb.new");
  EXPECT_NE(sync_.CloseDB(db), kSyncOk);
  EXPECT_EQ(TempFolder::Read(path), before);
}

TEST_F(SyncManager, UnregisteringTheLastConduitClosesItsDatabasesAndKeepsTheirChanges) {
  Connect();
  Put(Database("Memo", {{0, "a"}}));
  SyncDbHandle db = 0;
  ASSERT_EQ(sync_.OpenDB("Memo", 0, &db, 0xF0), kSyncOk);
  ASSERT_EQ(sync_.PurgeAllRecs(db), kSyncOk);
  ASSERT_EQ(sync_.UnRegisterConduit(conduit_), kSyncOk);
  EXPECT_TRUE(Stored("Memo").records.empty());
  EXPECT_EQ(sync_.CloseDB(db), kSyncErrBadHandle);
}

TEST_F(SyncManager, APlantedFailureAnswersOnceAndDoesNothing) {
  ASSERT_EQ(sync_.BeginSession("Ann"), kSyncOk);
  ASSERT_EQ(sync_.FailNext("SyncRegisterConduit", -77), kSyncOk);
  EXPECT_EQ(sync_.FailNext("NoSuchExport", -1), kSyncErrBadArgument);
  SyncConduitHandle handle = 0;
  EXPECT_EQ(sync_.RegisterConduit(&handle), -77);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(sync_.RegisterConduit(&handle), kSyncOk);
  ASSERT_EQ(sync_.FailNext("SyncUnRegisterConduit", -5), kSyncOk);
  EXPECT_EQ(sync_.UnRegisterConduit(handle), -5);
  EXPECT_EQ(sync_.UnRegisterConduit(handle), kSyncOk);
}

TEST_F(SyncManager, HandheldNumbersComeOutInHostOrder) {
  const uint8_t word[2] = {0x12, 0x34};
  const uint8_t dword[4] = {0x12, 0x34, 0x56, 0x78};
  uint16_t w;
  uint32_t d;
  std::memcpy(&w, word, 2);
  std::memcpy(&d, dword, 4);
  EXPECT_EQ(sync_.HHToHostWord(w), 0x1234);
  EXPECT_EQ(sync_.HHToHostDWord(d), 0x12345678u);
}

TEST(HotSyncLog, EntriesAreAppendedOneLineEach) {
  TempFolder home("qm-hslog");
  ::setenv("QM_HOTSYNC_LOG", home.Path("logs/hotsync.log").c_str(), 1);
  hslog20::HsLog20Library log;
  ASSERT_EQ(log.Load({Bin()}), 0u);
  EXPECT_EQ(log.LogAddEntry("first", -1, 0), 0);
  EXPECT_EQ(log.LogAddEntry("two\nlines", -1, 0), 0);
  EXPECT_EQ(TempFolder::Read(home.Path("logs/hotsync.log")), "first\ntwo lines\n");
  char path[512];
  const uint32_t length = log.LogPath(path, sizeof path);
  EXPECT_EQ(std::string(path, length), home.Path("logs/hotsync.log"));
  EXPECT_EQ(log.LogPath(path, 4), length);
}

TEST(Sync20Loading, AMissingLibraryGivesTheModuleCodeAndNoFunctions) {
  TempFolder empty("qm-nosync");
  ::setenv("QM_MODULE_PATH", empty.path().c_str(), 1);
  sync20::Sync20Library sync;
  EXPECT_EQ(sync.Load({empty.path()}), 126u);
  EXPECT_EQ(sync.OpenDB, nullptr);
  ::unsetenv("QM_MODULE_PATH");
}

}  // namespace
