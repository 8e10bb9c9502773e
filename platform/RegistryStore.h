// One registry store file: keys, class strings and typed values kept in SQLite.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegStore.h"

namespace platform {

// RegKeyId: the row of a key. Ids are never reused, so a handle to a deleted
// key can never reach a newer key. The three roots have fixed ids.
using RegKeyId = int64_t;
inline constexpr RegKeyId kRegClassesRootId = 1;
inline constexpr RegKeyId kRegCurrentUserId = 2;
inline constexpr RegKeyId kRegLocalMachineId = 3;

struct RegValueRecord {
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

struct RegKeyRecord {
  std::string name;
  std::string className;
};

struct RegKeyCounts {
  uint32_t subKeys = 0;
  uint32_t maxSubKeyLen = 0;
  uint32_t maxClassLen = 0;
  uint32_t values = 0;
  uint32_t maxValueNameLen = 0;
  uint32_t maxValueLen = 0;
  std::string className;
};

// What DeleteKey removes.
enum class RegDeleteMode {
  LeafOnly,      // the key, refused (5) while it has subkeys
  Tree,          // the key and everything below it
  ContentsOnly,  // the key's values and subkeys; the key stays
};

// RegistryStore: an open store file shared by the whole process. Every
// operation is serialised by the store's lock and every write is one SQLite
// transaction (WAL journal, busy time-out), so several processes may write at
// once. Results are ERROR_SUCCESS or Win32 codes; 1018 marks a key that no
// longer exists, 1015 a corrupt or foreign file.
class RegistryStore {
 public:
  // ForStore: the process's connection to the store of that kind, at the path
  // the environment names now (QM_DEVICE_REGISTRY / QM_DESKTOP_REGISTRY, else
  // below QM_HOME); opened on first use, its folder created when missing. On
  // failure returns null and sets *error.
  static std::shared_ptr<RegistryStore> ForStore(RegStore kind, uint32_t* error);

  // PathOf: the host path the store of that kind has now.
  static std::string PathOf(RegStore kind);

  // CloseAll: forgets the cached connections; holders keep theirs alive.
  static void CloseAll();

  ~RegistryStore();
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;

  RegStore kind() const { return kind_; }
  const std::string& path() const { return path_; }

  // OwnedByThisProcess: false in a forked child, which must not use the
  // parent's connection.
  bool OwnedByThisProcess() const;

  // lock: held by every operation; a thread holding it across calls (an
  // explicit transaction) keeps other threads out meanwhile.
  std::recursive_mutex& lock() { return mutex_; }

  // FindKey: the key reached from parent by the path components (each
  // compared without regard to case). 2 when one is missing.
  uint32_t FindKey(RegKeyId parent, std::span<const std::string_view> path, RegKeyId* id);

  // CreateKey: like FindKey, creating missing components; the last one gets
  // className. *created tells whether the last component was new.
  uint32_t CreateKey(RegKeyId parent, std::span<const std::string_view> path,
                     std::string_view className, RegKeyId* id, bool* created);

  // CheckKey: 0 when the key exists, else ERROR_KEY_DELETED.
  uint32_t CheckKey(RegKeyId id);

  // GetValue: the value named (without regard to case); 2 when missing.
  uint32_t GetValue(RegKeyId key, std::string_view name, RegValueRecord* out);

  // SetValue: creates or replaces the value; a replaced value keeps its name
  // and its place in the enumeration order.
  uint32_t SetValue(RegKeyId key, std::string_view name, uint32_t type,
                    std::span<const uint8_t> data);

  // DeleteValue: removes the value; 2 when missing.
  uint32_t DeleteValue(RegKeyId key, std::string_view name);

  // DeleteKey: removes what mode says of the key at path below parent (path
  // may be empty: the parent itself). Roots are never removed (5).
  uint32_t DeleteKey(RegKeyId parent, std::span<const std::string_view> path, RegDeleteMode mode);

  // ValueAt / SubKeyAt: the entry at index in creation order; 259 past the end.
  uint32_t ValueAt(RegKeyId key, uint32_t index, RegValueRecord* out);
  uint32_t SubKeyAt(RegKeyId key, uint32_t index, RegKeyRecord* out);

  // KeyInfo: the key's class, counts and longest names and data.
  uint32_t KeyInfo(RegKeyId key, RegKeyCounts* out);

  // BeginTransaction / CommitTransaction / RollbackTransaction: an explicit
  // transaction that groups several writes; the caller holds lock() between
  // them. Writes inside it become savepoints.
  uint32_t BeginTransaction();
  uint32_t CommitTransaction();
  void RollbackTransaction();

 private:
  struct Impl;
  class WriteScope;

  RegistryStore(RegStore kind, std::string path);
  uint32_t Open();
  uint32_t FindChild(RegKeyId parent, std::string_view fold, RegKeyId* id);
  uint32_t DeleteTreeOf(RegKeyId id, bool keepTop);

  RegStore kind_;
  std::string path_;
  int ownerPid_ = 0;
  int depth_ = 0;
  std::recursive_mutex mutex_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
