// The C interface of the sync manager library "Sync20.dll", as a conduit and the HotSync manager
// call it.
#pragma once

#include <cstddef>
#include <cstdint>

// The library is reached by export names. Where a conduit of the desktop
// imports by number, the export of that number has this name here:
//
//   22 SyncRegisterConduit        26 SyncOpenDB        36 SyncReadRecordByIndex
//   23 SyncUnRegisterConduit      28 SyncCloseDB       39 SyncWriteDBAppInfoBlock
//   24 SyncReadUserID             32 SyncWriteRec      41 SyncPurgeAllRecs
//
// SyncResetRecordIndex, SyncWriteDBSortInfoBlock, SyncGetDBRecordCount,
// SyncHHToHostWord and SyncHHToHostDWord keep their names.

// SyncConduitHandle: what SyncRegisterConduit hands out; 0 is never one.
using SyncConduitHandle = uint32_t;

// SyncDbHandle: one open handheld database; 0 is never one.
using SyncDbHandle = uint8_t;

// Results of the library. 0 is success; every failure is negative, except
// that a file error of the emulated handheld passes on its Win32 code.
inline constexpr int32_t kSyncOk = 0;
inline constexpr int32_t kSyncErrNotConnected = -1;   // no HotSync session (no user)
inline constexpr int32_t kSyncErrNotRegistered = -2;  // conduit handle not registered
inline constexpr int32_t kSyncErrAlreadyRegistered = -3;
inline constexpr int32_t kSyncErrBadArgument = -4;   // null pointer, bad name, card not 0
inline constexpr int32_t kSyncErrNotFound = -5;      // no such database on the handheld
inline constexpr int32_t kSyncErrTooManyOpen = -6;   // every database handle is taken
inline constexpr int32_t kSyncErrBadHandle = -7;     // database handle not open
inline constexpr int32_t kSyncErrNoSuchRecord = -8;  // index beyond the last record
inline constexpr int32_t kSyncErrReadOnly = -9;      // database opened without write mode
inline constexpr int32_t kSyncErrTooLarge = -10;     // record, block or database over its limit
inline constexpr int32_t kSyncErrDamaged = -11;      // the database file is not a sound .pdb
inline constexpr int32_t kSyncErrInUse = -12;        // the database is open already

// Open modes of SyncOpenDB (bits; a conduit passes 0xF0, all of them).
inline constexpr uint8_t kSyncModeRead = 0x80;
inline constexpr uint8_t kSyncModeWrite = 0x40;
inline constexpr uint8_t kSyncModeExclusive = 0x20;
inline constexpr uint8_t kSyncModeShowSecret = 0x10;

// kSyncMaxRecordSize: the largest record or block the handheld keeps.
inline constexpr uint32_t kSyncMaxRecordSize = 65535;

// SyncUserIdentity: what SyncReadUserID fills. It begins with the HotSync
// user name (terminated), which is also the name of the user's folder under
// the Palm Desktop folder.
struct SyncUserIdentity {
  char userName[64];
  uint32_t userId;
  uint32_t reserved[3];
};
static_assert(offsetof(SyncUserIdentity, userName) == 0);
static_assert(sizeof(SyncUserIdentity) == 80);

// The two descriptors are packed to keep their offsets: read their fields by
// value (a reference, as std::min or a test macro takes, would be
// misaligned).
#pragma pack(push, 1)

// SyncBlock: an app-info or sort-info block. The pointer has the host's
// width, so on a 64-bit host the descriptor is 48 bytes rather than 44; every
// offset up to the pointer is as on the handheld's desktop.
struct SyncBlock {
  char name[32];      // 0: all zero
  uint16_t size;      // 32: the block's length in bytes
  uint16_t unused;    // 34: not used on writing
  uint8_t* data;      // 36: the bytes
  uint32_t reserved;  // 36 + pointer: 0
};
static_assert(offsetof(SyncBlock, size) == 32);
static_assert(offsetof(SyncBlock, unused) == 34);
static_assert(offsetof(SyncBlock, data) == 36);
static_assert(sizeof(SyncBlock) == 40 + sizeof(void*));

// SyncRecord: one record to read or write. All bytes not named are zero.
// Like SyncBlock, 28 bytes plus the pointer's extra width on a 64-bit host.
struct SyncRecord {
  SyncDbHandle db;      // 0: the open database
  uint32_t recordId;    // 1: 0 when writing a new record (the handheld assigns one and
                        //    stores it here); filled when reading
  uint16_t index;       // 5: the record's index when reading by index
  uint8_t attributes;   // 7: written as given; filled when reading
  uint8_t zero[6];      // 8
  uint32_t size;        // 14: the record's length (writing: bytes to store; reading: the
                        //     whole record's length, even when the buffer took less)
  uint16_t bufferSize;  // 18: the buffer's size when reading (1024 for a conduit)
  uint8_t* buffer;      // 20: the bytes
  uint32_t reserved;    // 20 + pointer: 0
};
static_assert(offsetof(SyncRecord, recordId) == 1);
static_assert(offsetof(SyncRecord, index) == 5);
static_assert(offsetof(SyncRecord, attributes) == 7);
static_assert(offsetof(SyncRecord, size) == 14);
static_assert(offsetof(SyncRecord, bufferSize) == 18);
static_assert(offsetof(SyncRecord, buffer) == 20);
static_assert(sizeof(SyncRecord) == 24 + sizeof(void*));

#pragma pack(pop)

// The exports, one type per name.
//
// SyncRegisterConduit: registers the calling conduit for the session and
// fills *handle. kSyncErrNotConnected when no HotSync session is running.
using SyncRegisterConduitFn = int32_t (*)(SyncConduitHandle* handle);
// SyncUnRegisterConduit: ends the registration; databases still open are
// closed (their changes kept). kSyncErrNotRegistered for an unknown handle.
using SyncUnRegisterConduitFn = int32_t (*)(SyncConduitHandle handle);
// SyncReadUserID: fills *identity with the session's user.
using SyncReadUserIDFn = int32_t (*)(SyncUserIdentity* identity);
// SyncOpenDB: opens the handheld database of that exact name (case matters)
// on card 0 and fills *db. A missing database is not created.
using SyncOpenDBFn = int32_t (*)(const char* name, int32_t card, SyncDbHandle* db, uint8_t mode);
// SyncCloseDB: closes a database; its changes reach the handheld's file in
// one atomic replacement. A non-zero result means they did not (the file
// keeps its contents from before).
using SyncCloseDBFn = int32_t (*)(SyncDbHandle db);
// SyncPurgeAllRecs: removes every record of an open database.
using SyncPurgeAllRecsFn = int32_t (*)(SyncDbHandle db);
// SyncResetRecordIndex: starts the database's record iteration over.
using SyncResetRecordIndexFn = int32_t (*)(SyncDbHandle db);
// SyncWriteDBAppInfoBlock / SyncWriteDBSortInfoBlock: replace the block.
using SyncWriteDBAppInfoBlockFn = int32_t (*)(SyncDbHandle db, SyncBlock* block);
using SyncWriteDBSortInfoBlockFn = int32_t (*)(SyncDbHandle db, SyncBlock* block);
// SyncWriteRec: with recordId 0 adds a record and stores its new id in the
// descriptor; with an id replaces that record (adds it when it is missing).
using SyncWriteRecFn = int32_t (*)(SyncRecord* record);
// SyncReadRecordByIndex: copies the record at `index` into the buffer (at
// most bufferSize bytes) and fills recordId, attributes and size.
using SyncReadRecordByIndexFn = int32_t (*)(SyncRecord* record);
// SyncGetDBRecordCount: the number of records of an open database.
using SyncGetDBRecordCountFn = int32_t (*)(SyncDbHandle db, uint16_t* count);
// SyncHHToHostWord / SyncHHToHostDWord: a number as it lay in handheld
// memory (big-endian bytes read into a host integer) in host byte order.
using SyncHHToHostWordFn = uint16_t (*)(uint16_t value);
using SyncHHToHostDWordFn = uint32_t (*)(uint32_t value);

// The HotSync manager's side (this suite's stand-in only; a conduit never
// calls them).
//
// QmSyncBeginSession: starts a session for a HotSync user (the handheld's
// folder of that name is created when missing). Ends a session still open.
using QmSyncBeginSessionFn = int32_t (*)(const char* userName);
// QmSyncEndSession: closes every open database, drops the registrations and
// ends the session.
using QmSyncEndSessionFn = int32_t (*)();
// QmSyncFailNext: makes the next call of the named export answer `result`
// without doing anything (for tests of a conduit's failure paths). Returns
// kSyncErrBadArgument for an unknown name.
using QmSyncFailNextFn = int32_t (*)(const char* exportName, int32_t result);
