// Object-store databases as scan objects: records searched, counted, copied and deleted.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/ObjectStore.h"
#include "scanner/scanrun/InfectedActions.h"
#include "scanner/scanrun/tests/ScanFixture.h"
#include "scanner/walker/ScanDatabases.h"

namespace scanner::testing {
namespace {

platform::PropertyValue Text(uint16_t id, std::u16string text) {
  platform::PropertyValue v;
  v.propid = platform::MakePropId(id, platform::CEVT_LPWSTR);
  v.text = std::move(text);
  return v;
}

platform::PropertyValue Blob(uint16_t id, std::string_view bytes) {
  platform::PropertyValue v;
  v.propid = platform::MakePropId(id, platform::CEVT_BLOB);
  v.bytes.assign(bytes.begin(), bytes.end());
  return v;
}

class DatabaseScan : public ScanFixture {
 protected:
  platform::CEOID Add(platform::CEOID db, std::vector<platform::PropertyValue> props) {
    platform::Database d;
    EXPECT_EQ(d.Open(db, 0), 0u);
    return d.WriteRecord(0, props);
  }
  std::vector<uint8_t> Buffer(platform::CEOID db, platform::CEOID record) {
    platform::Database d;
    d.Open(db, platform::CEDB_AUTOINCREMENT);
    std::vector<uint8_t> buffer;
    uint16_t props = 0;
    uint32_t size = 0;
    for (platform::CEOID id; (id = d.ReadRecord(buffer, props, size)) != 0;)
      if (id == record) return {buffer.begin(), buffer.begin() + size};
    return {};
  }
};

TEST_F(DatabaseScan, SearchesTheVariableDataOfEveryRecord) {
  const platform::CEOID contacts = platform::CreateDatabase(u"Contacts", 0);
  const platform::CEOID notes = platform::CreateDatabase(u"Notes", 0);
  ASSERT_NE(contacts, 0u);
  Add(contacts, {Text(1, u"Jane")});
  Add(contacts, {Blob(2, Infected(kBetaSignature))});
  Add(notes, {Text(1, u"nothing here")});
  scanner_->dbases = 99;
  EXPECT_EQ(ScanDatabases(*scanner_), 0);
  EXPECT_EQ(scanner_->dbases, 2);
  EXPECT_EQ(scanner_->virusesFound, 1);
  EXPECT_EQ(recorder_.CountProgress(kProgressDatabase), 2u);
  EXPECT_EQ(recorder_.CountProgress(kProgressRecordHandled), 1u);
  EXPECT_EQ(ResultTexts(), (std::vector<std::u16string>{u"Contacts : Infected with Beta"}));
}

TEST_F(DatabaseScan, SignatureInPropertyHeadersOnlyIsNotFound) {
  // A one-byte-per-unit text cannot hold the signature; headers are never searched.
  const platform::CEOID db = platform::CreateDatabase(u"Plain", 0);
  Add(db, {Text(1, u"harmless")});
  EXPECT_EQ(ScanDatabases(*scanner_), 0);
  EXPECT_EQ(scanner_->virusesFound, 0);
}

TEST_F(DatabaseScan, InfectedRecordIsCopiedWholeAndDeleted) {
  MakeFolder("device/Infected");
  const platform::CEOID db = platform::CreateDatabase(u"Contacts", 0);
  Add(db, {Text(1, u"before")});
  const platform::CEOID bad = Add(db, {Text(1, u"x"), Blob(2, Infected())});
  const platform::CEOID after = Add(db, {Blob(3, Infected(kBetaSignature))});
  const std::vector<uint8_t> whole = Buffer(db, bad);
  ASSERT_FALSE(whole.empty());
  // An older, longer copy of the same name must not leave its tail behind.
  const std::u16string copyPath = RecordCopyPath(u"\\Infected\\", u"Contacts", bad);
  const std::string copyName = platform::Utf16ToUtf8(copyPath.substr(10));
  Device("Infected/" + copyName, std::string(whole.size() + 50, 'Z'));

  scanner_->flags = kScanAllFiles | kCopyToInfected | kDeleteInfected;
  EXPECT_EQ(ScanDatabases(*scanner_), 0);
  EXPECT_EQ(scanner_->virusesFound, 2);
  EXPECT_EQ(scanner_->moved, 2);
  EXPECT_EQ(scanner_->deleted, 2);
  const std::string copied = Read(DeviceHost("Infected/" + copyName));
  EXPECT_EQ(copied, std::string(whole.begin(), whole.end()));
  EXPECT_TRUE(Buffer(db, bad).empty());
  EXPECT_TRUE(Buffer(db, after).empty());
}

TEST_F(DatabaseScan, FailedRecordCopyIsReportedWithAnEmptyObject) {
  // No Infected folder: the copy cannot be created.
  const platform::CEOID db = platform::CreateDatabase(u"Mail", 0);
  Add(db, {Blob(1, Infected())});
  scanner_->flags = kScanAllFiles | kCopyToInfected;
  EXPECT_EQ(ScanDatabases(*scanner_), 0);
  EXPECT_EQ(scanner_->errors, 1);
  EXPECT_EQ(scanner_->moved, 0);
  EXPECT_EQ(recorder_.CountProgress(kProgressDatabaseError), 1u);
  EXPECT_EQ(ResultTexts(), (std::vector<std::u16string>{u" : Could not copy to Infected folder!",
                                                        u"Mail : Infected with Alpha"}));
}

TEST_F(DatabaseScan, DatabaseThatCannotBeOpenedIsCountedWithoutARow) {
  const platform::CEOID first = platform::CreateDatabase(u"First", 0);
  const platform::CEOID second = platform::CreateDatabase(u"Second", 0);
  ASSERT_NE(second, 0u);
  // After the first database the scan is held at its wait before the other,
  // which is then taken away: enumerated, but it can no longer be opened.
  std::promise<void> firstDone;
  recorder_.onProgress = [&](uint32_t code) {
    if (code != kProgressDatabase || scanner_->dbases != 1) return;
    scanner_->pauseEvent.Reset();
    firstDone.set_value();
  };
  std::future<int> result =
      std::async(std::launch::async, [this] { return ScanDatabases(*scanner_); });
  const bool held =
      firstDone.get_future().wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  platform::DeleteDatabase(first);
  platform::DeleteDatabase(second);
  scanner_->pauseEvent.Set();
  EXPECT_EQ(result.get(), 0);
  recorder_.onProgress = nullptr;
  ASSERT_TRUE(held);
  EXPECT_EQ(scanner_->dbases, 2);
  EXPECT_EQ(recorder_.Messages(),
            (std::vector<Event>{P(kProgressDatabase), P(kProgressDatabaseError, 2)}));
  EXPECT_EQ(list_.Count(), 0u);
  EXPECT_EQ(scanner_->errors, 0);
}

TEST_F(DatabaseScan, AskUserShowsDatabaseAndRecordIdentifier) {
  const platform::CEOID db = platform::CreateDatabase(u"Contacts", 0);
  const platform::CEOID bad = Add(db, {Blob(1, Infected(kBetaSignature))});
  scanner_->flags = kScanAllFiles | kAskUser;
  dialog_.closeWithOk = true;
  EXPECT_EQ(ScanDatabases(*scanner_), 0);
  ASSERT_EQ(dialog_.shown.size(), 1u);
  EXPECT_EQ(dialog_.shown[0].objectLabel, u"Database:\nRecord:");
  EXPECT_EQ(dialog_.shown[0].objectText, RecordObjectText(u"Contacts", bad));
  EXPECT_EQ(dialog_.shown[0].virusText, u"Beta");
  EXPECT_EQ(dialog_.shown[0].description, u"Beta spreads by card");
}

TEST(RecordCopyPath, NamesTheCopyByDatabaseAndHexIdentifier) {
  EXPECT_EQ(RecordCopyPath(u"\\Infected\\", u"Contacts", 0x1A2B),
            u"\\Infected\\Contacts_1A2Bh.bin");
  EXPECT_EQ(RecordObjectText(u"Contacts", 0x1A2B), u"Contacts,\nCEOID = 1A2Bh");
  // A name cannot lead the copy out of the folder.
  EXPECT_EQ(RecordCopyPath(u"\\Infected\\", u"..\\a/b:c*", 0xff), u"\\Infected\\.._a_b_c__FFh.bin");
}

}  // namespace
}  // namespace scanner::testing
