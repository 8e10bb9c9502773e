// Object-store tests: databases, records, the read buffer's layout, several
// connections, and store files that are not stores.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "platform/Errors.h"
#include "platform/ObjectStore.h"
#include "platform/testing/TempFolder.h"

namespace platform {
namespace {

// Each test gets its own store file below its own QM_HOME.
class ObjectStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QM_HOME", temp_.path().c_str(), 1);
    UseStore(temp_.Path("store/objects.db"));
  }

  void UseStore(const std::string& path) {
    path_ = path;
    setenv("QM_OBJECT_STORE", path.c_str(), 1);
  }

  // Reopen: makes this thread's next call open the store file anew (the
  // connection follows the path), so the file is complete on disk meanwhile.
  void Reopen(const std::function<void()>& meanwhile) {
    setenv("QM_OBJECT_STORE", temp_.Path("elsewhere.db").c_str(), 1);
    EXPECT_EQ(FindDatabase(u"x"), 0u);
    meanwhile();
    setenv("QM_OBJECT_STORE", path_.c_str(), 1);
  }

  CEOID NewDatabase(std::u16string_view name, uint32_t type = 0) {
    CEOID oid = CreateDatabase(name, type);
    EXPECT_NE(oid, 0u) << "last error " << GetLastError();
    return oid;
  }

  testing::TempFolder temp_{"objstore"};
  std::string path_;
};

PropertyValue Number(uint16_t id, uint16_t type, int64_t n) {
  PropertyValue v;
  v.propid = MakePropId(id, type);
  v.number = n;
  return v;
}

PropertyValue Text(uint16_t id, std::u16string text) {
  PropertyValue v;
  v.propid = MakePropId(id, CEVT_LPWSTR);
  v.text = std::move(text);
  return v;
}

PropertyValue Blob(uint16_t id, std::vector<uint8_t> bytes) {
  PropertyValue v;
  v.propid = MakePropId(id, CEVT_BLOB);
  v.bytes = std::move(bytes);
  return v;
}

CEOID Write(Database& db, std::vector<PropertyValue> props, CEOID oid = 0) {
  return db.WriteRecord(oid, props);
}

// Read: one record; the buffer holds exactly the bytes used.
struct Read {
  CEOID oid = 0;
  uint16_t count = 0;
  std::vector<uint8_t> buffer;
};

Read ReadOne(Database& db) {
  Read r;
  uint32_t size = 0;
  r.oid = db.ReadRecord(r.buffer, r.count, size);
  if (r.oid != 0) {
    EXPECT_LE(size, r.buffer.size());
    r.buffer.resize(size);
  }
  return r;
}

PropertyHeader HeaderAt(const std::vector<uint8_t>& buffer, size_t i) {
  PropertyHeader h;
  std::memcpy(&h, buffer.data() + i * sizeof h, sizeof h);
  return h;
}

using ObjectStoreDatabases = ObjectStoreTest;
using ObjectStoreRecords = ObjectStoreTest;
using ObjectStoreEnumeration = ObjectStoreTest;
using ObjectStoreSharing = ObjectStoreTest;
using ObjectStoreFailures = ObjectStoreTest;

TEST_F(ObjectStoreDatabases, NamesAreFoundAndTakenWithoutRegardToCase) {
  CEOID contacts = NewDatabase(u"Contacts", 7);
  CEOID cyrillic = NewDatabase(u"Контакты");
  EXPECT_EQ(FindDatabase(u"CONTACTS"), contacts);
  EXPECT_EQ(FindDatabase(u"кОНТАКТЫ"), cyrillic);
  EXPECT_EQ(CreateDatabase(u"contacts", 1), 0u);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(CreateDatabase(u"КОНТАКТЫ", 1), 0u);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(FindDatabase(u"Calendar"), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  DatabaseInfo info;
  ASSERT_EQ(GetDatabaseInfo(contacts, info), ERROR_SUCCESS);
  EXPECT_EQ(info.oid, contacts);
  EXPECT_EQ(info.name, u"Contacts");  // as created, not as searched
  EXPECT_EQ(info.type, 7u);
  EXPECT_EQ(info.records, 0u);
  EXPECT_EQ(GetDatabaseInfo(contacts + 1000, info), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(std::filesystem::exists(path_));
}

TEST_F(ObjectStoreDatabases, NameMustHoldOneToThirtyTwoCharacters) {
  EXPECT_NE(CreateDatabase(std::u16string(CEDB_MAXDBASENAMELEN, u'n'), 0), 0u);
  EXPECT_EQ(CreateDatabase(std::u16string(CEDB_MAXDBASENAMELEN + 1, u'm'), 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CreateDatabase(u"", 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CreateDatabase(std::u16string(u"a\0b", 3), 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(ObjectStoreDatabases, IdentifiersAreUniqueAcrossDatabasesAndRecords) {
  std::set<CEOID> seen;
  for (int i = 0; i < 3; ++i) {
    CEOID oid = NewDatabase(u"db" + std::u16string(1, char16_t(u'0' + i)));
    Database db;
    ASSERT_EQ(db.Open(oid, 0), ERROR_SUCCESS);
    seen.insert(oid);
    seen.insert(Write(db, {Number(1, CEVT_I4, i)}));
    seen.insert(Write(db, {Number(1, CEVT_I4, i)}));
  }
  EXPECT_EQ(seen.size(), 9u);
  EXPECT_EQ(seen.count(0), 0u);
}

TEST_F(ObjectStoreDatabases, DeleteRemovesTheDatabaseAndOnlyItsRecords) {
  CEOID gone = NewDatabase(u"Gone");
  CEOID kept = NewDatabase(u"Kept");
  Database a, b;
  ASSERT_EQ(a.Open(gone, 0), ERROR_SUCCESS);
  ASSERT_EQ(b.Open(kept, 0), ERROR_SUCCESS);
  Write(a, {Text(1, u"bye")});
  Write(b, {Text(1, u"stay")});

  EXPECT_EQ(DeleteDatabase(gone), ERROR_SUCCESS);
  EXPECT_EQ(DeleteDatabase(gone), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindDatabase(u"Gone"), 0u);
  DatabaseInfo info;
  EXPECT_EQ(GetDatabaseInfo(gone, info), ERROR_FILE_NOT_FOUND);
  Database again;
  EXPECT_EQ(again.Open(gone, CEDB_AUTOINCREMENT), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(again.isOpen());
  // A handle still open on the deleted database finds nothing and cannot add.
  EXPECT_EQ(ReadOne(a).oid, 0u);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(Write(a, {Text(1, u"late")}), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  ASSERT_EQ(GetDatabaseInfo(kept, info), ERROR_SUCCESS);
  EXPECT_EQ(info.records, 1u);
  // The name is free again.
  EXPECT_NE(CreateDatabase(u"gone", 0), 0u);
}

TEST_F(ObjectStoreDatabases, StoreFileDefaultsToTheHomeFolder) {
  unsetenv("QM_OBJECT_STORE");
  EXPECT_EQ(ObjectStorePath(), temp_.path() + "/objectstore.db");
  NewDatabase(u"Home");
  EXPECT_TRUE(std::filesystem::exists(temp_.Path("objectstore.db")));
}

TEST_F(ObjectStoreRecords, ReadPutsHeadersThenDataAtTheOffsetsTheyGive) {
  Database db;
  ASSERT_EQ(db.Open(NewDatabase(u"Layout"), CEDB_AUTOINCREMENT), ERROR_SUCCESS);
  PropertyValue r8;
  r8.propid = MakePropId(6, CEVT_R8);
  r8.real = 1.5;
  const std::u16string zurich = u"Z\u00fcrich \U0001F600";  // 9 UTF-16 units
  CEOID oid = Write(
      db, {Number(1, CEVT_I2, -2), Number(2, CEVT_I4, -100000), Number(3, CEVT_UI4, 0xDEADBEEF),
           Number(4, CEVT_BOOL, 1), Number(5, CEVT_FILETIME, 0x01D2C3B4A5968778), r8,
           Blob(7, {1, 2, 3}), Text(8, zurich), Blob(9, {}), Text(10, u"")});
  ASSERT_NE(oid, 0u);

  // Built by hand: 10 headers (160 bytes), the 3-byte blob at 160, a pad
  // byte, the string at 164 (18 bytes + terminator), the empty blob and the
  // empty string at 184.
  std::vector<uint8_t> expected(186, 0);
  auto header = [&](size_t i, uint32_t propid, uint32_t value, uint32_t extra) {
    PropertyHeader h{propid, 0, 0, value, extra};
    std::memcpy(expected.data() + i * 16, &h, 16);
  };
  header(0, MakePropId(1, CEVT_I2), 0xFFFE, 0);
  header(1, MakePropId(2, CEVT_I4), 0xFFFE7960, 0);
  header(2, MakePropId(3, CEVT_UI4), 0xDEADBEEF, 0);
  header(3, MakePropId(4, CEVT_BOOL), 1, 0);
  header(4, MakePropId(5, CEVT_FILETIME), 0xA5968778, 0x01D2C3B4);
  header(5, MakePropId(6, CEVT_R8), 0, 0x3FF80000);
  header(6, MakePropId(7, CEVT_BLOB), 3, 160);
  header(7, MakePropId(8, CEVT_LPWSTR), 164, 0);
  header(8, MakePropId(9, CEVT_BLOB), 0, 184);
  header(9, MakePropId(10, CEVT_LPWSTR), 184, 0);
  expected[160] = 1, expected[161] = 2, expected[162] = 3;
  for (size_t i = 0; i < zurich.size(); ++i) {
    expected[164 + 2 * i] = static_cast<uint8_t>(zurich[i] & 0xFF);
    expected[165 + 2 * i] = static_cast<uint8_t>(zurich[i] >> 8);
  }

  Read r = ReadOne(db);
  EXPECT_EQ(r.oid, oid);
  EXPECT_EQ(r.count, 10);
  EXPECT_EQ(r.buffer, expected);
  double back = 0;
  std::memcpy(&back, r.buffer.data() + 5 * 16 + 8, 8);
  EXPECT_EQ(back, 1.5);

  DatabaseInfo info;
  ASSERT_EQ(GetDatabaseInfo(db.oid(), info), ERROR_SUCCESS);
  EXPECT_EQ(info.records, 1u);
  EXPECT_EQ(info.size, 186u);
}

TEST_F(ObjectStoreRecords, LargeBlobAndRecordWithoutPropertiesReadBack) {
  Database db;
  ASSERT_EQ(db.Open(NewDatabase(u"Big"), CEDB_AUTOINCREMENT), ERROR_SUCCESS);
  std::vector<uint8_t> big(100 * 1024);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
  CEOID first = Write(db, {Text(1, u"attachment"), Blob(2, big)});
  CEOID empty = Write(db, {});
  ASSERT_NE(first, 0u);
  ASSERT_NE(empty, 0u);

  Read r = ReadOne(db);
  ASSERT_EQ(r.oid, first);
  ASSERT_EQ(r.buffer.size(), 32u + 22u + big.size());
  PropertyHeader blob = HeaderAt(r.buffer, 1);
  EXPECT_EQ(blob.value, big.size());
  ASSERT_EQ(blob.extra, 54u);
  EXPECT_TRUE(std::equal(big.begin(), big.end(), r.buffer.begin() + blob.extra));

  // The buffer is reused: enlarged for a big record, never shrunk.
  std::vector<uint8_t> buffer(200000, 0xAA);
  uint16_t count = 99;
  uint32_t size = 99;
  EXPECT_EQ(db.ReadRecord(buffer, count, size), empty);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(buffer.size(), 200000u);
}

TEST_F(ObjectStoreRecords, ReadPositionAdvancesOnlyWithAutoIncrement) {
  CEOID oid = NewDatabase(u"Walk");
  Database writer;
  ASSERT_EQ(writer.Open(oid, 0), ERROR_SUCCESS);
  CEOID r1 = Write(writer, {Number(1, CEVT_I4, 1)});
  CEOID r2 = Write(writer, {Number(1, CEVT_I4, 2)});
  CEOID r3 = Write(writer, {Number(1, CEVT_I4, 3)});
  ASSERT_TRUE(r1 < r2 && r2 < r3);

  Database stay;
  ASSERT_EQ(stay.Open(oid, 0), ERROR_SUCCESS);
  EXPECT_EQ(ReadOne(stay).oid, r1);
  EXPECT_EQ(ReadOne(stay).oid, r1);

  Database walk;
  ASSERT_EQ(walk.Open(oid, CEDB_AUTOINCREMENT), ERROR_SUCCESS);
  EXPECT_EQ(ReadOne(walk).oid, r1);
  EXPECT_EQ(ReadOne(walk).oid, r2);
  EXPECT_EQ(ReadOne(walk).oid, r3);
  EXPECT_EQ(ReadOne(walk).oid, 0u);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(ReadOne(walk).oid, 0u);  // and stays at the end
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);

  // Opening again starts from the first record.
  ASSERT_EQ(walk.Open(oid, CEDB_AUTOINCREMENT), ERROR_SUCCESS);
  EXPECT_EQ(ReadOne(walk).oid, r1);
  EXPECT_EQ(walk.Open(oid, 0x80), ERROR_INVALID_PARAMETER);
}

TEST_F(ObjectStoreRecords, DeletingTheRecordJustReadReadsOnWithTheNext) {
  CEOID oid = NewDatabase(u"Infected");
  Database db;
  ASSERT_EQ(db.Open(oid, CEDB_AUTOINCREMENT), ERROR_SUCCESS);
  CEOID r1 = Write(db, {Blob(1, {'E', 'I', 'C', 'A', 'R'})});
  CEOID r2 = Write(db, {Blob(1, {'c', 'l', 'e', 'a', 'n'})});
  CEOID r3 = Write(db, {Blob(1, {'E', 'I', 'C', 'A', 'R'})});

  EXPECT_EQ(ReadOne(db).oid, r1);
  EXPECT_EQ(db.DeleteRecord(r1), ERROR_SUCCESS);
  EXPECT_EQ(ReadOne(db).oid, r2);
  EXPECT_EQ(ReadOne(db).oid, r3);
  EXPECT_EQ(db.DeleteRecord(r3), ERROR_SUCCESS);
  EXPECT_EQ(ReadOne(db).oid, 0u);
  EXPECT_EQ(db.DeleteRecord(r3), ERROR_FILE_NOT_FOUND);

  // Without auto-advance, deleting the current record moves the position on.
  Database stay;
  ASSERT_EQ(stay.Open(oid, 0), ERROR_SUCCESS);
  EXPECT_EQ(ReadOne(stay).oid, r2);
  EXPECT_EQ(stay.DeleteRecord(r2), ERROR_SUCCESS);
  EXPECT_EQ(ReadOne(stay).oid, 0u);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
}

TEST_F(ObjectStoreRecords, RecordsBelongToOneDatabase) {
  Database a, b;
  ASSERT_EQ(a.Open(NewDatabase(u"A"), 0), ERROR_SUCCESS);
  ASSERT_EQ(b.Open(NewDatabase(u"B"), 0), ERROR_SUCCESS);
  CEOID inA = Write(a, {Number(1, CEVT_I4, 1)});
  EXPECT_EQ(b.DeleteRecord(inA), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Write(b, {Number(1, CEVT_I4, 2)}, inA), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadOne(b).oid, 0u);
  EXPECT_EQ(ReadOne(a).oid, inA);
}

TEST_F(ObjectStoreRecords, RewriteReplacesPropertiesInPlaceAndKeepsTheRest) {
  Database db;
  ASSERT_EQ(db.Open(NewDatabase(u"Rewrite"), 0), ERROR_SUCCESS);
  CEOID oid = Write(db, {Text(1, u"old"), Number(2, CEVT_I4, 5), Blob(3, {9})});
  ASSERT_EQ(Write(db, {Number(4, CEVT_UI2, 7), Text(1, u"new text")}, oid), oid);
  Read r = ReadOne(db);
  ASSERT_EQ(r.count, 4);
  EXPECT_EQ(HeaderAt(r.buffer, 0).propid, MakePropId(1, CEVT_LPWSTR));
  EXPECT_EQ(HeaderAt(r.buffer, 1).value, 5u);
  EXPECT_EQ(HeaderAt(r.buffer, 2).propid, MakePropId(3, CEVT_BLOB));
  EXPECT_EQ(HeaderAt(r.buffer, 3).propid, MakePropId(4, CEVT_UI2));
  uint32_t at = HeaderAt(r.buffer, 0).value;
  ASSERT_LE(at + 18u, r.buffer.size());
  EXPECT_EQ(r.buffer[at], 'n');
  EXPECT_EQ(r.buffer[at + 16], 0);  // terminator after 8 characters
  EXPECT_EQ(r.buffer.size(), 64u + 1u + 18u);
}

TEST_F(ObjectStoreRecords, NumbersKeepTheirTypesWidth) {
  Database db;
  ASSERT_EQ(db.Open(NewDatabase(u"Widths"), 0), ERROR_SUCCESS);
  Write(db, {Number(1, CEVT_I2, 70000), Number(2, CEVT_UI4, -1), Number(3, CEVT_I4, 1LL << 33)});
  Read r = ReadOne(db);
  EXPECT_EQ(HeaderAt(r.buffer, 0).value, 4464u);
  EXPECT_EQ(HeaderAt(r.buffer, 1).value, 0xFFFFFFFFu);
  EXPECT_EQ(HeaderAt(r.buffer, 2).value, 0u);
}

TEST_F(ObjectStoreRecords, BadPropertiesAndClosedHandlesAreRefused) {
  Database db;
  EXPECT_EQ(Write(db, {Number(1, CEVT_I4, 1)}), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  std::vector<uint8_t> buffer;
  uint16_t count = 0;
  uint32_t size = 0;
  EXPECT_EQ(db.ReadRecord(buffer, count, size), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

  ASSERT_EQ(db.Open(NewDatabase(u"Strict"), 0), ERROR_SUCCESS);
  EXPECT_EQ(Write(db, {Number(1, 4, 1)}), 0u);  // type 4 does not exist
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Write(db, {Text(1, std::u16string(u"a\0b", 3))}), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(ReadOne(db).oid, 0u);  // nothing was written
  db.Close();
  EXPECT_EQ(db.DeleteRecord(1), ERROR_INVALID_HANDLE);
}

TEST_F(ObjectStoreRecords, ARecordHoldsAtMost65535Properties) {
  Database db;
  ASSERT_EQ(db.Open(NewDatabase(u"Wide"), 0), ERROR_SUCCESS);
  std::vector<PropertyValue> props;
  for (uint32_t id = 0; id < 65535; ++id)
    props.push_back(Number(static_cast<uint16_t>(id), CEVT_I2, id));
  const CEOID oid = db.WriteRecord(0, props);
  ASSERT_NE(oid, 0u);
  // The same number with another type is another property: one too many.
  EXPECT_EQ(Write(db, {Number(0, CEVT_I4, 1)}, oid), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Write(db, {Number(7, CEVT_I2, -7)}, oid), oid);  // a replacement fits
  Read r = ReadOne(db);
  EXPECT_EQ(r.count, 65535);
  EXPECT_EQ(r.buffer.size(), 65535u * 16);
  EXPECT_EQ(HeaderAt(r.buffer, 7).value, 0xFFF9u);
  props.push_back(Number(0, CEVT_I4, 1));
  EXPECT_EQ(db.WriteRecord(0, props), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(ObjectStoreEnumeration, ListsByTypeOrAllThenEndsWithNoMoreItems) {
  CEOID a = NewDatabase(u"A", 5);
  CEOID b = NewDatabase(u"B", 6);
  CEOID c = NewDatabase(u"C", 5);
  DatabaseFind find;
  ASSERT_EQ(find.Open(5), ERROR_SUCCESS);
  EXPECT_EQ(find.Next(), a);
  EXPECT_EQ(find.Next(), c);
  EXPECT_EQ(find.Next(), 0u);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);

  ASSERT_EQ(find.Open(0), ERROR_SUCCESS);
  std::vector<CEOID> all;
  for (CEOID oid; (oid = find.Next()) != 0;) all.push_back(oid);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(all, (std::vector<CEOID>{a, b, c}));

  ASSERT_EQ(find.Open(99), ERROR_SUCCESS);
  EXPECT_EQ(find.Next(), 0u);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
  find.Close();
  EXPECT_EQ(find.Next(), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(ObjectStoreEnumeration, WorksOnTheDatabasesPresentAtOpen) {
  CEOID a = NewDatabase(u"A");
  CEOID b = NewDatabase(u"B");
  CEOID c = NewDatabase(u"C");
  DatabaseFind find;
  ASSERT_EQ(find.Open(0), ERROR_SUCCESS);
  EXPECT_EQ(find.Next(), a);
  EXPECT_EQ(DeleteDatabase(a), ERROR_SUCCESS);
  EXPECT_EQ(DeleteDatabase(b), ERROR_SUCCESS);
  NewDatabase(u"Later");
  EXPECT_EQ(find.Next(), c);
  EXPECT_EQ(find.Next(), 0u);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
}

TEST_F(ObjectStoreSharing, ConnectionsOfOtherThreadsSeeEachOthersWrites) {
  CEOID oid = NewDatabase(u"Shared");
  CEOID fromThread = 0;
  std::thread([&] {
    Database db;
    ASSERT_EQ(db.Open(FindDatabase(u"shared"), 0), ERROR_SUCCESS);
    fromThread = Write(db, {Text(1, u"from the worker")});
  }).join();
  ASSERT_NE(fromThread, 0u);
  Database db;
  ASSERT_EQ(db.Open(oid, CEDB_AUTOINCREMENT), ERROR_SUCCESS);
  EXPECT_EQ(ReadOne(db).oid, fromThread);
  CEOID fromMain = Write(db, {Text(1, u"from main")});
  std::thread([&] {
    Database reader;
    ASSERT_EQ(reader.Open(oid, CEDB_AUTOINCREMENT), ERROR_SUCCESS);
    EXPECT_EQ(ReadOne(reader).oid, fromThread);
    EXPECT_EQ(ReadOne(reader).oid, fromMain);
  }).join();
}

TEST_F(ObjectStoreSharing, ScanWorkerReadsWhileAnotherThreadWrites) {
  CEOID oid = NewDatabase(u"Busy");
  constexpr int kRecords = 200;
  std::atomic<bool> done{false};
  std::atomic<int> failures{0};
  std::thread scanner([&] {
    std::vector<uint8_t> buffer;
    while (!done) {
      DatabaseFind find;
      if (find.Open(0) != ERROR_SUCCESS) ++failures;
      for (CEOID d; (d = find.Next()) != 0;) {
        Database db;
        if (db.Open(d, CEDB_AUTOINCREMENT) != ERROR_SUCCESS) continue;  // deleted meanwhile
        uint16_t count;
        uint32_t size;
        while (db.ReadRecord(buffer, count, size) != 0) {
          if (count != 1 || size != 20) ++failures;
        }
        if (GetLastError() != ERROR_NO_MORE_ITEMS) ++failures;
      }
      if (GetLastError() != ERROR_NO_MORE_ITEMS) ++failures;
    }
  });
  std::set<CEOID> written;
  Database db;
  ASSERT_EQ(db.Open(oid, 0), ERROR_SUCCESS);
  for (int i = 0; i < kRecords; ++i) {
    written.insert(Write(db, {Blob(1, {1, 2, 3, 4})}));
    if (i % 20 == 0) DeleteDatabase(NewDatabase(u"Temp"));
  }
  done = true;
  scanner.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(written.size(), static_cast<size_t>(kRecords));
  EXPECT_EQ(written.count(0), 0u);
}

TEST_F(ObjectStoreFailures, FileThatIsNotAStoreGivesACodeAndStaysUntouched) {
  const std::string junk(8192, 'J');
  temp_.Write("store/objects.db", junk);
  EXPECT_EQ(CreateDatabase(u"Contacts", 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_CANTOPEN);
  EXPECT_EQ(FindDatabase(u"Contacts"), 0u);
  EXPECT_EQ(GetLastError(), ERROR_CANTOPEN);
  DatabaseFind find;
  EXPECT_EQ(find.Open(0), ERROR_CANTOPEN);
  Database db;
  EXPECT_EQ(db.Open(1, 0), ERROR_CANTOPEN);
  DatabaseInfo info;
  EXPECT_EQ(GetDatabaseInfo(1, info), ERROR_CANTOPEN);
  EXPECT_EQ(testing::TempFolder::Read(path_), junk);
}

TEST_F(ObjectStoreFailures, ForeignOrNewerSqliteFilesAreRefused) {
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(temp_.Path("foreign.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "CREATE TABLE t(x)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  UseStore(temp_.Path("foreign.db"));
  EXPECT_EQ(CreateDatabase(u"Contacts", 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_CANTOPEN);

  UseStore(temp_.Path("newer.db"));
  NewDatabase(u"Contacts");
  Reopen([&] {
    ASSERT_EQ(sqlite3_open(temp_.Path("newer.db").c_str(), &other), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, "PRAGMA user_version = 2", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
  });
  EXPECT_EQ(FindDatabase(u"Contacts"), 0u);
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
}

TEST_F(ObjectStoreFailures, CorruptStoreGivesCodesNotCrashes) {
  Database db;
  ASSERT_EQ(db.Open(NewDatabase(u"Doomed"), CEDB_AUTOINCREMENT), ERROR_SUCCESS);
  for (int i = 0; i < 50; ++i) Write(db, {Blob(1, std::vector<uint8_t>(3000, 0x5A))});
  Reopen([&] {
    // Everything after the first page (the schema) becomes noise.
    std::fstream file(path_, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(4096);
    std::string noise(64 * 1024, '\xA5');
    file.write(noise.data(), static_cast<std::streamsize>(noise.size()));
  });
  std::vector<uint8_t> buffer;
  uint16_t count = 0;
  uint32_t size = 0;
  CEOID read = db.ReadRecord(buffer, count, size);
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
  DatabaseFind find;
  uint32_t e = find.Open(0);
  if (e == ERROR_SUCCESS) find.Next();
  EXPECT_EQ(CreateDatabase(u"More", 0), 0u);
  EXPECT_NE(GetLastError(), ERROR_SUCCESS);
}

TEST_F(ObjectStoreFailures, StorePathThatIsAFolderGivesACode) {
  UseStore(temp_.MakeFolder("a-folder"));
  EXPECT_EQ(CreateDatabase(u"Contacts", 0), 0u);
  EXPECT_NE(GetLastError(), ERROR_SUCCESS);
  // Pointing back at a good path works again at once.
  UseStore(temp_.Path("good.db"));
  EXPECT_NE(CreateDatabase(u"Contacts", 0), 0u);
}

}  // namespace
}  // namespace platform
