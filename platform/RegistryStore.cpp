// The SQLite form of a registry store and the process's cache of open stores.
#include "platform/RegistryStore.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <iterator>
#include <map>

#include "platform/Errors.h"
#include "platform/Home.h"
#include "platform/SqliteStore.h"
#include "platform/Text.h"

namespace platform {
namespace {

// Marks a store file as ours ("QMRG") and its layout version.
constexpr int32_t kApplicationId = 0x514D5247;
constexpr int32_t kSchemaVersion = 1;

constexpr const char* kSchema =
    "CREATE TABLE keys("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  parent INTEGER NOT NULL,"
    "  name TEXT NOT NULL,"
    "  fold TEXT NOT NULL,"
    "  class TEXT NOT NULL DEFAULT '',"
    "  UNIQUE(parent, fold));"
    "CREATE INDEX keys_order ON keys(parent);"
    "CREATE TABLE vals("
    "  id INTEGER PRIMARY KEY,"
    "  key INTEGER NOT NULL,"
    "  name TEXT NOT NULL,"
    "  fold TEXT NOT NULL,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  UNIQUE(key, fold));"
    "CREATE INDEX vals_order ON vals(key);"
    "INSERT INTO keys(id, parent, name, fold) VALUES"
    "  (1, 0, 'HKEY_CLASSES_ROOT', 'hkey_classes_root'),"
    "  (2, 0, 'HKEY_CURRENT_USER', 'hkey_current_user'),"
    "  (3, 0, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine');"
    "PRAGMA application_id = 1364021831;"
    "PRAGMA user_version = 1;";
static_assert(kApplicationId == 1364021831);
constexpr StoreLayout kLayout{
    kApplicationId, kSchemaVersion, kSchema, {ERROR_REGISTRY_CORRUPT, ERROR_REGISTRY_CORRUPT}};

// The prepared statements, by number.
enum class Sql {
  FindChild,
  InsertKey,
  KeyExists,
  GetValue,
  UpsertValue,
  DeleteValue,
  ValueAt,
  SubKeyAt,
  HasSubKeys,
  DeleteTreeValues,
  DeleteTreeKeys,
  DeleteBelowValues,
  DeleteBelowKeys,
  KeyClass,
  InfoKeys,
  InfoValues,
  Begin,
  Commit,
  Rollback,
  Savepoint,
  Release,
  RollbackTo,
  _count
};

#define SUBTREE(start)                                       \
  "WITH RECURSIVE t(id) AS (" start                          \
  " UNION ALL SELECT k.id FROM keys k JOIN t ON k.parent = " \
  "t.id) "

constexpr const char* kSql[] = {
    "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2",
    "INSERT INTO keys(parent, name, fold, class) VALUES(?1, ?2, ?3, ?4)",
    "SELECT 1 FROM keys WHERE id = ?1",
    "SELECT type, data, name FROM vals WHERE key = ?1 AND fold = ?2",
    "INSERT INTO vals(key, name, fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
    "DELETE FROM vals WHERE key = ?1 AND fold = ?2",
    "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2",
    "SELECT name, class FROM keys WHERE parent = ?1 ORDER BY id LIMIT 1 OFFSET ?2",
    "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1",
    SUBTREE("SELECT ?1") "DELETE FROM vals WHERE key IN t",
    SUBTREE("SELECT ?1") "DELETE FROM keys WHERE id IN t AND id > 3",
    SUBTREE("SELECT ?1") "DELETE FROM vals WHERE key IN t",
    SUBTREE("SELECT id FROM keys WHERE parent = ?1") "DELETE FROM keys WHERE id IN t AND id > 3",
    "SELECT class FROM keys WHERE id = ?1",
    "SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0),"
    " coalesce(max(length(CAST(class AS BLOB))), 0) FROM keys WHERE parent = ?1",
    "SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0),"
    " coalesce(max(length(data)), 0) FROM vals WHERE key = ?1",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "SAVEPOINT w",
    "RELEASE w",
    "ROLLBACK TO w",
};
#undef SUBTREE
static_assert(std::size(kSql) == static_cast<size_t>(Sql::_count));

// StoreError: the Win32 code for an SQLite result in this store.
uint32_t StoreError(int rc, sqlite3* db) {
  return Win32FromSqlite(rc, db, kLayout.meaning);
}

// A prepared statement in use: reset and unbound when the scope ends.
class Stmt {
 public:
  explicit Stmt(sqlite3_stmt* s) : s_(s) {}
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;
  ~Stmt() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
  void Bind(int i, int64_t v) { sqlite3_bind_int64(s_, i, v); }
  void Bind(int i, std::string_view t) {
    sqlite3_bind_text(s_, i, t.data() ? t.data() : "", static_cast<int>(t.size()),
                      SQLITE_TRANSIENT);
  }
  void BindBlob(int i, std::span<const uint8_t> b) {
    static const uint8_t kEmpty = 0;
    sqlite3_bind_blob(s_, i, b.empty() ? &kEmpty : b.data(), static_cast<int>(b.size()),
                      SQLITE_TRANSIENT);
  }
  int Step() { return sqlite3_step(s_); }
  int64_t Int(int col) { return sqlite3_column_int64(s_, col); }
  std::string Text(int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, col));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(s_, col))) : std::string();
  }
  std::vector<uint8_t> Blob(int col) {
    const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(s_, col));
    size_t n = static_cast<size_t>(sqlite3_column_bytes(s_, col));
    return p ? std::vector<uint8_t>(p, p + n) : std::vector<uint8_t>();
  }

 private:
  sqlite3_stmt* s_;
};

std::string Fold(std::string_view name) {
  return ToLower(name);
}

std::mutex g_cacheMutex;
std::map<std::string, std::shared_ptr<RegistryStore>>& Cache() {
  static auto* cache = new std::map<std::string, std::shared_ptr<RegistryStore>>();
  return *cache;
}

}  // namespace

struct RegistryStore::Impl {
  sqlite3* db = nullptr;
  sqlite3_stmt* stmts[static_cast<size_t>(Sql::_count)] = {};

  // Prepare: the statement, prepared once per connection.
  uint32_t Prepare(Sql which, sqlite3_stmt** out) {
    auto& s = stmts[static_cast<size_t>(which)];
    if (!s) {
      int rc = sqlite3_prepare_v3(db, kSql[static_cast<size_t>(which)], -1,
                                  SQLITE_PREPARE_PERSISTENT, &s, nullptr);
      if (rc != SQLITE_OK) {
        s = nullptr;
        return StoreError(rc, db);
      }
    }
    *out = s;
    return ERROR_SUCCESS;
  }

  // Run: a statement that returns no rows.
  uint32_t Run(Sql which) {
    sqlite3_stmt* s = nullptr;
    if (uint32_t e = Prepare(which, &s)) return e;
    Stmt st(s);
    int rc = st.Step();
    return rc == SQLITE_DONE ? ERROR_SUCCESS : StoreError(rc, db);
  }
};

// One write: a transaction of its own, or a savepoint inside an explicit one.
class RegistryStore::WriteScope {
 public:
  explicit WriteScope(RegistryStore& store) : store_(store) {}
  WriteScope(const WriteScope&) = delete;
  WriteScope& operator=(const WriteScope&) = delete;
  ~WriteScope() {
    if (open_) Finish(ERROR_GEN_FAILURE);
  }

  uint32_t Begin() {
    uint32_t e = store_.impl_->Run(store_.depth_ == 0 ? Sql::Begin : Sql::Savepoint);
    if (e) return e;
    outer_ = store_.depth_ == 0;
    ++store_.depth_;
    open_ = true;
    return ERROR_SUCCESS;
  }

  // Finish: commits when result is 0, else undoes the write; returns the final
  // result.
  uint32_t Finish(uint32_t result) {
    open_ = false;
    --store_.depth_;
    auto& impl = *store_.impl_;
    if (result == ERROR_SUCCESS) {
      uint32_t e = impl.Run(outer_ ? Sql::Commit : Sql::Release);
      if (e == ERROR_SUCCESS) return ERROR_SUCCESS;
      result = e;
    }
    if (outer_) {
      impl.Run(Sql::Rollback);
    } else {
      impl.Run(Sql::RollbackTo);
      impl.Run(Sql::Release);
    }
    return result;
  }

 private:
  RegistryStore& store_;
  bool outer_ = false;
  bool open_ = false;
};

RegistryStore::RegistryStore(RegStore kind, std::string path)
    : kind_(kind), path_(std::move(path)), ownerPid_(getpid()), impl_(std::make_unique<Impl>()) {}

RegistryStore::~RegistryStore() {
  // A forked child must not close (and so unlock or checkpoint) its parent's
  // connection; the few bytes stay with the child until it exits.
  if (!OwnedByThisProcess()) {
    (void)impl_.release();
    return;
  }
  for (auto* s : impl_->stmts)
    if (s) sqlite3_finalize(s);
  if (impl_->db) sqlite3_close_v2(impl_->db);
}

bool RegistryStore::OwnedByThisProcess() const {
  return ownerPid_ == getpid();
}

std::string RegistryStore::PathOf(RegStore kind) {
  return kind == RegStore::Device ? StatePath("QM_DEVICE_REGISTRY", "device-registry.db")
                                  : StatePath("QM_DESKTOP_REGISTRY", "desktop-registry.db");
}

std::shared_ptr<RegistryStore> RegistryStore::ForStore(RegStore kind, uint32_t* error) {
  std::string path = PathOf(kind);
  std::lock_guard<std::mutex> guard(g_cacheMutex);
  auto& cache = Cache();
  auto key = std::string(RegStoreName(kind)) + ":" + path;
  if (auto it = cache.find(key); it != cache.end()) {
    if (it->second->OwnedByThisProcess()) return it->second;
    cache.erase(it);
  }
  std::shared_ptr<RegistryStore> store(new RegistryStore(kind, path));
  if (uint32_t e = store->Open()) {
    *error = e;
    return nullptr;
  }
  cache.emplace(key, store);
  // Closing at exit checkpoints the journal into the store file.
  static bool atExit = (std::atexit([] { CloseAll(); }), true);
  (void)atExit;
  return store;
}

void RegistryStore::CloseAll() {
  std::lock_guard<std::mutex> guard(g_cacheMutex);
  Cache().clear();
}

uint32_t RegistryStore::Open() {
  return OpenStoreFile(path_, kLayout, SQLITE_OPEN_FULLMUTEX, &impl_->db);
}

uint32_t RegistryStore::FindChild(RegKeyId parent, std::string_view fold, RegKeyId* id) {
  sqlite3_stmt* s = nullptr;
  if (uint32_t e = impl_->Prepare(Sql::FindChild, &s)) return e;
  Stmt st(s);
  st.Bind(1, parent);
  st.Bind(2, fold);
  int rc = st.Step();
  if (rc == SQLITE_ROW) {
    *id = st.Int(0);
    return ERROR_SUCCESS;
  }
  return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : StoreError(rc, impl_->db);
}

uint32_t RegistryStore::CheckKey(RegKeyId id) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  sqlite3_stmt* s = nullptr;
  if (uint32_t e = impl_->Prepare(Sql::KeyExists, &s)) return e;
  Stmt st(s);
  st.Bind(1, id);
  int rc = st.Step();
  if (rc == SQLITE_ROW) return ERROR_SUCCESS;
  return rc == SQLITE_DONE ? ERROR_KEY_DELETED : StoreError(rc, impl_->db);
}

uint32_t RegistryStore::FindKey(RegKeyId parent, std::span<const std::string_view> path,
                                RegKeyId* id) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  if (uint32_t e = CheckKey(parent)) return e;
  RegKeyId at = parent;
  for (auto part : path)
    if (uint32_t e = FindChild(at, Fold(part), &at)) return e;
  *id = at;
  return ERROR_SUCCESS;
}

uint32_t RegistryStore::CreateKey(RegKeyId parent, std::span<const std::string_view> path,
                                  std::string_view className, RegKeyId* id, bool* created) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  WriteScope scope(*this);
  if (uint32_t e = scope.Begin()) return e;
  uint32_t e = CheckKey(parent);
  RegKeyId at = parent;
  bool made = false;
  for (size_t i = 0; !e && i < path.size(); ++i) {
    std::string fold = Fold(path[i]);
    e = FindChild(at, fold, &at);
    made = false;
    if (e != ERROR_FILE_NOT_FOUND) continue;
    sqlite3_stmt* s = nullptr;
    e = impl_->Prepare(Sql::InsertKey, &s);
    if (e) break;
    Stmt st(s);
    st.Bind(1, at);
    st.Bind(2, path[i]);
    st.Bind(3, fold);
    st.Bind(4, i + 1 == path.size() ? className : std::string_view());
    int rc = st.Step();
    e = rc == SQLITE_DONE ? ERROR_SUCCESS : StoreError(rc, impl_->db);
    at = sqlite3_last_insert_rowid(impl_->db);
    made = true;
  }
  e = scope.Finish(e);
  if (e) return e;
  *id = at;
  if (created) *created = made;
  return ERROR_SUCCESS;
}

uint32_t RegistryStore::GetValue(RegKeyId key, std::string_view name, RegValueRecord* out) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  sqlite3_stmt* s = nullptr;
  if (uint32_t e = impl_->Prepare(Sql::GetValue, &s)) return e;
  Stmt st(s);
  st.Bind(1, key);
  st.Bind(2, Fold(name));
  int rc = st.Step();
  if (rc == SQLITE_ROW) {
    out->type = static_cast<uint32_t>(st.Int(0));
    out->data = st.Blob(1);
    out->name = st.Text(2);
    return ERROR_SUCCESS;
  }
  if (rc != SQLITE_DONE) return StoreError(rc, impl_->db);
  if (uint32_t e = CheckKey(key)) return e;
  return ERROR_FILE_NOT_FOUND;
}

uint32_t RegistryStore::SetValue(RegKeyId key, std::string_view name, uint32_t type,
                                 std::span<const uint8_t> data) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  WriteScope scope(*this);
  if (uint32_t e = scope.Begin()) return e;
  uint32_t e = CheckKey(key);
  if (!e) {
    sqlite3_stmt* s = nullptr;
    e = impl_->Prepare(Sql::UpsertValue, &s);
    if (!e) {
      Stmt st(s);
      st.Bind(1, key);
      st.Bind(2, name);
      st.Bind(3, Fold(name));
      st.Bind(4, static_cast<int64_t>(type));
      st.BindBlob(5, data);
      int rc = st.Step();
      e = rc == SQLITE_DONE ? ERROR_SUCCESS : StoreError(rc, impl_->db);
    }
  }
  return scope.Finish(e);
}

uint32_t RegistryStore::DeleteValue(RegKeyId key, std::string_view name) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  WriteScope scope(*this);
  if (uint32_t e = scope.Begin()) return e;
  uint32_t e = CheckKey(key);
  if (!e) {
    sqlite3_stmt* s = nullptr;
    e = impl_->Prepare(Sql::DeleteValue, &s);
    if (!e) {
      Stmt st(s);
      st.Bind(1, key);
      st.Bind(2, Fold(name));
      int rc = st.Step();
      e = rc != SQLITE_DONE                 ? StoreError(rc, impl_->db)
          : sqlite3_changes(impl_->db) == 0 ? ERROR_FILE_NOT_FOUND
                                            : ERROR_SUCCESS;
    }
  }
  return scope.Finish(e);
}

uint32_t RegistryStore::DeleteTreeOf(RegKeyId id, bool keepTop) {
  sqlite3_stmt* s = nullptr;
  Sql values = keepTop ? Sql::DeleteBelowValues : Sql::DeleteTreeValues;
  Sql keys = keepTop ? Sql::DeleteBelowKeys : Sql::DeleteTreeKeys;
  for (Sql which : {values, keys}) {
    if (uint32_t e = impl_->Prepare(which, &s)) return e;
    Stmt st(s);
    st.Bind(1, id);
    int rc = st.Step();
    if (rc != SQLITE_DONE) return StoreError(rc, impl_->db);
  }
  return ERROR_SUCCESS;
}

uint32_t RegistryStore::DeleteKey(RegKeyId parent, std::span<const std::string_view> path,
                                  RegDeleteMode mode) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  WriteScope scope(*this);
  if (uint32_t e = scope.Begin()) return e;
  RegKeyId id = 0;
  uint32_t e = FindKey(parent, path, &id);
  if (!e && mode != RegDeleteMode::ContentsOnly && id <= kRegLocalMachineId)
    e = ERROR_ACCESS_DENIED;
  if (!e && mode == RegDeleteMode::LeafOnly) {
    sqlite3_stmt* s = nullptr;
    e = impl_->Prepare(Sql::HasSubKeys, &s);
    if (!e) {
      Stmt st(s);
      st.Bind(1, id);
      int rc = st.Step();
      if (rc == SQLITE_ROW)
        e = ERROR_ACCESS_DENIED;
      else if (rc != SQLITE_DONE)
        e = StoreError(rc, impl_->db);
    }
  }
  if (!e) e = DeleteTreeOf(id, mode == RegDeleteMode::ContentsOnly);
  return scope.Finish(e);
}

uint32_t RegistryStore::ValueAt(RegKeyId key, uint32_t index, RegValueRecord* out) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  sqlite3_stmt* s = nullptr;
  if (uint32_t e = impl_->Prepare(Sql::ValueAt, &s)) return e;
  Stmt st(s);
  st.Bind(1, key);
  st.Bind(2, static_cast<int64_t>(index));
  int rc = st.Step();
  if (rc == SQLITE_ROW) {
    out->name = st.Text(0);
    out->type = static_cast<uint32_t>(st.Int(1));
    out->data = st.Blob(2);
    return ERROR_SUCCESS;
  }
  if (rc != SQLITE_DONE) return StoreError(rc, impl_->db);
  if (uint32_t e = CheckKey(key)) return e;
  return ERROR_NO_MORE_ITEMS;
}

uint32_t RegistryStore::SubKeyAt(RegKeyId key, uint32_t index, RegKeyRecord* out) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  sqlite3_stmt* s = nullptr;
  if (uint32_t e = impl_->Prepare(Sql::SubKeyAt, &s)) return e;
  Stmt st(s);
  st.Bind(1, key);
  st.Bind(2, static_cast<int64_t>(index));
  int rc = st.Step();
  if (rc == SQLITE_ROW) {
    out->name = st.Text(0);
    out->className = st.Text(1);
    return ERROR_SUCCESS;
  }
  if (rc != SQLITE_DONE) return StoreError(rc, impl_->db);
  if (uint32_t e = CheckKey(key)) return e;
  return ERROR_NO_MORE_ITEMS;
}

uint32_t RegistryStore::KeyInfo(RegKeyId key, RegKeyCounts* out) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  sqlite3_stmt* s = nullptr;
  if (uint32_t e = impl_->Prepare(Sql::KeyClass, &s)) return e;
  {
    Stmt st(s);
    st.Bind(1, key);
    int rc = st.Step();
    if (rc == SQLITE_DONE) return ERROR_KEY_DELETED;
    if (rc != SQLITE_ROW) return StoreError(rc, impl_->db);
    out->className = st.Text(0);
  }
  for (Sql which : {Sql::InfoKeys, Sql::InfoValues}) {
    if (uint32_t e = impl_->Prepare(which, &s)) return e;
    Stmt st(s);
    st.Bind(1, key);
    int rc = st.Step();
    if (rc != SQLITE_ROW) return StoreError(rc, impl_->db);
    auto a = static_cast<uint32_t>(st.Int(0));
    auto b = static_cast<uint32_t>(st.Int(1));
    auto c = static_cast<uint32_t>(st.Int(2));
    if (which == Sql::InfoKeys) {
      out->subKeys = a, out->maxSubKeyLen = b, out->maxClassLen = c;
    } else {
      out->values = a, out->maxValueNameLen = b, out->maxValueLen = c;
    }
  }
  return ERROR_SUCCESS;
}

uint32_t RegistryStore::BeginTransaction() {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  uint32_t e = impl_->Run(depth_ == 0 ? Sql::Begin : Sql::Savepoint);
  if (!e) ++depth_;
  return e;
}

uint32_t RegistryStore::CommitTransaction() {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  if (depth_ == 0) return ERROR_INVALID_FUNCTION;
  uint32_t e = impl_->Run(depth_ == 1 ? Sql::Commit : Sql::Release);
  if (e) {
    RollbackTransaction();
    return e;
  }
  --depth_;
  return ERROR_SUCCESS;
}

void RegistryStore::RollbackTransaction() {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  if (depth_ == 0) return;
  if (depth_ == 1) {
    impl_->Run(Sql::Rollback);
  } else {
    impl_->Run(Sql::RollbackTo);
    impl_->Run(Sql::Release);
  }
  --depth_;
}

}  // namespace platform
