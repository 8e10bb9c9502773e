// The handheld's object-store databases: named databases of records made of
// typed properties, kept in one SQLite file shared by all processes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// CEOID: the identifier of a database or a record; 0 is no object.
using CEOID = uint32_t;

// Property types (the low word of a property id), numbered as on the handheld.
inline constexpr uint16_t CEVT_I2 = 2;
inline constexpr uint16_t CEVT_I4 = 3;
inline constexpr uint16_t CEVT_R8 = 5;
inline constexpr uint16_t CEVT_BOOL = 11;
inline constexpr uint16_t CEVT_UI2 = 18;
inline constexpr uint16_t CEVT_UI4 = 19;
inline constexpr uint16_t CEVT_LPWSTR = 31;
inline constexpr uint16_t CEVT_FILETIME = 64;
inline constexpr uint16_t CEVT_BLOB = 65;

// MakePropId: a property id from its number and type.
constexpr uint32_t MakePropId(uint16_t id, uint16_t type) {
  return (uint32_t{id} << 16) | type;
}

// Open flag: each record read advances to the next record.
inline constexpr uint32_t CEDB_AUTOINCREMENT = 0x1;

// Longest database name in characters, without the terminator.
inline constexpr size_t CEDB_MAXDBASENAMELEN = 32;

// PropertyHeader: what a record read puts at the start of its buffer, one per
// property, followed by the variable data (strings, blobs) the headers point
// into by byte offset from the buffer's start. Numbers sit in `value` (low 32
// bits) and `extra` (high 32 bits, for CEVT_R8 and CEVT_FILETIME); a 16-bit
// number fills the low half of `value`, and every unused byte is zero. A
// string has `value` = offset of its UTF-16LE text with terminator; a blob has
// `value` = its size and `extra` = its offset, in the handheld's order.
// The data follow the headers in property order with no gaps, except one
// zero byte before a string that would start at an odd offset; an empty
// blob's offset is where its bytes would be (it may equal the used size).
struct PropertyHeader {
  uint32_t propid;
  uint16_t lenData;  // always 0
  uint16_t flags;    // always 0
  uint32_t value;
  uint32_t extra;
};
static_assert(sizeof(PropertyHeader) == 16);

// PropertyValue: one property to write. Numbers are kept at their type's
// width (an I2 of 70000 reads back as 4464); text may not contain NUL.
struct PropertyValue {
  uint32_t propid = 0;
  int64_t number = 0;          // CEVT_I2, CEVT_I4, CEVT_UI2, CEVT_UI4, CEVT_BOOL, CEVT_FILETIME
  double real = 0;             // CEVT_R8
  std::u16string text;         // CEVT_LPWSTR
  std::vector<uint8_t> bytes;  // CEVT_BLOB
};

// DatabaseInfo: what the object information of a database tells.
struct DatabaseInfo {
  CEOID oid = 0;
  std::u16string name;
  uint32_t type = 0;
  uint32_t records = 0;
  uint32_t size = 0;  // bytes of all records' buffers
};

// ObjectStorePath: the host file of the store: QM_OBJECT_STORE, else
// $QM_HOME/objectstore.db.
std::string ObjectStorePath();

// DatabaseFind: enumerates the databases of the store.
class DatabaseFind {
 public:
  DatabaseFind() = default;
  DatabaseFind(DatabaseFind&&) noexcept;
  DatabaseFind& operator=(DatabaseFind&&) noexcept;
  ~DatabaseFind();

  // Open: starts an enumeration of the databases of `type` (0: any type).
  // Returns 0 or the Win32 code (also the last error).
  uint32_t Open(uint32_t type);

  // Next: the next database's identifier, or 0 at the end (last error
  // ERROR_NO_MORE_ITEMS) or on failure (last error the code). The
  // identifiers are those present at Open, in identifier order; one deleted
  // since is passed over. 6 when not open.
  CEOID Next();

  void Close();

 private:
  std::vector<CEOID> oids_;
  size_t next_ = 0;
  bool open_ = false;
};

// GetDatabaseInfo: the object information of a database. Returns 0, or 2
// when no database has that identifier.
uint32_t GetDatabaseInfo(CEOID oid, DatabaseInfo& info);

// CreateDatabase: creates an empty database and returns its identifier; 0 on
// failure with the last error: 183 when the name is taken (names compare
// without letter case), 87 for an empty or too long name.
CEOID CreateDatabase(std::u16string_view name, uint32_t type);

// DeleteDatabase: removes a database with its records. Returns 0 or 2.
uint32_t DeleteDatabase(CEOID oid);

// FindDatabase: the identifier of the database of that name (letter case
// ignored), 0 when there is none (last error 2).
CEOID FindDatabase(std::u16string_view name);

// Database: one open database with a read position at its first record.
// Records are returned in identifier order (a new record's identifier is
// higher than every earlier one). The object holds no connection: it may be
// used from any thread. Calls on a Database that is not open fail with 6;
// every call sets the thread's last error. The store's file can be missing
// (it is created), foreign or corrupt (1011 or 13), of a newer layout (50)
// or locked too long (170).
class Database {
 public:
  Database() = default;
  Database(Database&&) noexcept;
  Database& operator=(Database&&) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  // Open: opens the database by identifier with CEDB_AUTOINCREMENT or 0.
  // Returns 0 or the code (2 when it does not exist, 87 for other flags).
  uint32_t Open(CEOID oid, uint32_t flags);

  // ReadRecord: reads the record at the read position with all its
  // properties into `buffer` (enlarged as needed, never shrunk), stores the
  // property count and the bytes used, and advances when opened with
  // CEDB_AUTOINCREMENT. Returns the record's identifier; 0 at the end (last
  // error ERROR_NO_MORE_ITEMS) or on failure (last error the code).
  // Without CEDB_AUTOINCREMENT each read returns the same record again. A
  // deleted record is passed over: reading on after deleting the record
  // just read gives the one after it.
  CEOID ReadRecord(std::vector<uint8_t>& buffer, uint16_t& propertyCount, uint32_t& size);

  // WriteRecord: writes a new record (oid 0) or replaces the properties of
  // an existing one; returns its identifier, 0 on failure. As on the
  // handheld, a property replaces the record's property of the same id in
  // its place and a new id is added after the others; properties not named
  // stay. 87 for an unknown type, text with NUL or more than 65535
  // properties; 2 when oid is not a record of this database.
  CEOID WriteRecord(CEOID oid, std::span<const PropertyValue> properties);

  // DeleteRecord: deletes the record. Returns 0, or 2 when it is not in this
  // database.
  uint32_t DeleteRecord(CEOID oid);

  void Close();
  bool isOpen() const { return oid_ != 0; }
  CEOID oid() const { return oid_; }

 private:
  CEOID oid_ = 0;
  uint32_t flags_ = 0;
  uint64_t next_ = 0;  // the smallest identifier the next read may return
};

}  // namespace platform
